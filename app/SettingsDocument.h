// The process-wide settings document: constructed empty at start-up, filled from
// "appConfig.xml" once, edited in place and written back after every change. User-interface
// thread only.
#pragma once

#include "settings/XMLParser.h"

namespace zuvo::app {

zuvo::settings::XMLParser& SettingsDocument();

}  // namespace zuvo::app
