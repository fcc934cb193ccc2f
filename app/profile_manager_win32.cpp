// Placeholder until the page is built: the page button locks and unlocks the main window and
// nothing else happens. Replaced wholesale by the page's own implementation.
#include "app/pages_win32.h"

namespace halvard {

PageOutcome RunProfileManager(PageContext& ctx, int profile, bool defaultName) {
  (void)ctx;
  (void)defaultName;
  return {profile, false};
}

}  // namespace halvard
