#pragma once

// The settings dialog and its controls, named in extio.rc and in the code
// that fills and reads them.
#define IDD_VEXA_SETTINGS 100
#define IDC_MULTIPLIER 101
#define IDC_OFFSET 102
#define IDC_SERIAL 103
#define IDC_LAST_TUNING 104
#define IDC_PROBLEM 105
