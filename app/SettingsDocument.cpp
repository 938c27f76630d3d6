#include "app/SettingsDocument.h"

namespace zuvo::app {

namespace {

zuvo::settings::XMLParser g_settingsDocument;

}  // namespace

zuvo::settings::XMLParser& SettingsDocument() {
    return g_settingsDocument;
}

}  // namespace zuvo::app
