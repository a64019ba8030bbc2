// The parts of TnuvConfig that the outline core consults, in the shapes it takes.
#pragma once

#include "outline/FormatOptions.h"
#include "outline/PageCommands.h"
#include "outline/PageSwitch.h"

namespace nuv {

class TnuvConfig;

// The switches of the document readers and writers.
TFormatOptions FormatOptionsOf(const TnuvConfig& config);
// The switches of the page switch. TPageSwitch keeps a reference to its
// settings, so the window holds one of these and refreshes it after every
// load or settings dialog.
TPageSwitchSettings PageSwitchSettingsOf(const TnuvConfig& config);

// The switches of the delete command.
TDeleteSettings DeleteSettingsOf(const TnuvConfig& config);

}  // namespace nuv
