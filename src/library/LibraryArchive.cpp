#include "library/LibraryArchive.h"

#include "library/MWColor.h"
#include "library/QVColorFile.h"
#include "library/QVFile.h"
#include "library/QVGroup.h"
#include "library/QVTextSnippetFile.h"

#include <mutex>

void registerLibraryArchiveClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        ArchiveClasses::registerClass(QStringLiteral("QVGroup"), &QVGroup::decode);
        ArchiveClasses::registerClass(QStringLiteral("QVFile"), &QVFile::decode);
        ArchiveClasses::registerClass(QStringLiteral("MWColor"), &MWColor::decode);
        ArchiveClasses::registerClass(QStringLiteral("QVTextSnippetFile"),
                                      &QVTextSnippetFile::decode);
        ArchiveClasses::registerClass(QStringLiteral("QVColorFile"), &QVColorFile::decode);
    });
}
