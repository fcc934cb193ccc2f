// Placeholder until the page is built: the page button locks and unlocks the main window and
// nothing else happens. Replaced wholesale by the page's own implementation.
#include "app/pages_win32.h"

namespace halvard {

PageOutcome RunMacroEditor(PageContext& ctx, int profile) {
  (void)ctx;
  return {profile, false};
}

}  // namespace halvard
