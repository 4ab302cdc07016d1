#include "library/QVHelpers.h"

#include "platform/Appearance.h"

namespace QVHelpers {
bool isDarkMode() {
    return Appearance::shared().isDarkMode();
}
} // namespace QVHelpers
