#pragma once

namespace vexa {

class ExtioPlugin;

// The plugin's settings dialog, which the host shows when the operator asks
// for the plugin's window (ShowGUI): the multiplier, the offset and the serial
// number, and the line of the last tuning as the window shows it. Modeless,
// on the host's window thread; OK takes the settings (tuning the last LO
// again), a wrong one is named in the dialog and nothing is taken.
void showSettingsDialog(ExtioPlugin& plugin);
void hideSettingsDialog();
void switchSettingsDialog(ExtioPlugin& plugin);
void destroySettingsDialog();

// From any thread: a tuning was carried out, the dialog shows its line.
void refreshSettingsDialog();

} // namespace vexa
