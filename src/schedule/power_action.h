// The power action that ends a Shutdown run: log off, reboot, shut down,
// power off, stand by or hibernate, as ShutType says.
#pragma once
#include <functional>
#include <string>

#include "platform/session.h"
#include "settings/settings_state.h"

namespace tidemark::schedule {

constexpr const char* kPowerMessageCaption = "Tidemark  -  Message";

// Enables the shutdown privilege on the NT family (a failure is not
// reported), then performs the action. A failure is told through
// showMessage (text only; the caption is kPowerMessageCaption). Answers
// true when a failure was shown (ErrorSeen).
bool ShutdownAction(settings::ShutType type, bool ntFamily, platform::Session& session,
                    const std::function<void(const std::string& text)>& showMessage);

}  // namespace tidemark::schedule
