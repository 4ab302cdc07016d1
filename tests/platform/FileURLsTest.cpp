#include "platform/FileURLs.h"

#include <gtest/gtest.h>

namespace {
TEST(FileURLs, MatchQtsOwnFileUrls) {
    for (const char* path : {"/", "/tmp/a b/c.txt", "/x/100%/y#z?w", "/ünï/cödé", "/a//b/", "/%41",
                             "/[x]{y}|z^`\\", "/tab\there", "/semi;colon=eq&amp", "/'quote\"s"}) {
        const QString p = QString::fromUtf8(path);
        EXPECT_EQ(FileURLs::fromPath(p), QUrl::fromLocalFile(p)) << path;
        EXPECT_EQ(FileURLs::fromPath(p).toLocalFile(), p) << path;
        EXPECT_EQ(FileURLs::fromPath(p).toString(), QUrl::fromLocalFile(p).toString()) << path;
    }
}
} // namespace
