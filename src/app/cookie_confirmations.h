// The cookie manager's confirmations answered "Yes To All": not asked again
// for the rest of the run.
#pragma once

namespace tidemark::app {

struct CookieConfirmations {
  bool deleteYesToAll = false;
  bool randomToProtectYesToAll = false;
};

}  // namespace tidemark::app
