// Message box buttons shared by the platform implementations.
#include "macro/MacroPlatform.h"

namespace nuv {

std::vector<int> MessageBoxButtons(int flags) {
  switch (flags & kMbButtonMask) {
    case kMbOkCancel: return {kIdOk, kIdCancel};
    case kMbAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
    case kMbYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
    case kMbYesNo: return {kIdYes, kIdNo};
    case kMbRetryCancel: return {kIdRetry, kIdCancel};
    default: return {kIdOk};
  }
}

int MessageBoxDefaultResult(int flags) {
  const std::vector<int> buttons = MessageBoxButtons(flags);
  const std::size_t which = static_cast<std::size_t>((flags & kMbDefButtonMask) >> 8);
  return buttons[which < buttons.size() ? which : 0];
}

}  // namespace nuv
