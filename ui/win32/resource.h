#pragma once

// The application icon has the lowest icon ID, so Explorer shows it for the executable.
#define IDI_KORVALE 1

// Child window IDs of the calculator's controls.
#define IDC_COMBO1_1 101
#define IDC_FRAME1 102
#define IDC_TEXT1_1 103
#define IDC_TEXT1_0 104
#define IDC_LABEL1_4 105
#define IDC_LABEL1_3 106
#define IDC_TEXT2_0 107
#define IDC_LABEL1_0 108
#define IDC_LABEL1_1 109

// The calculator's window-menu item that opens the belt drive (a system command: low four bits 0).
#define IDM_BELT_DRIVE 0x0100

// Child window IDs of the belt-drive window's controls, each label right before what it names.
#define IDC_DRIVE_FIRST 201
