#pragma once

// The program's version, for the version record and anywhere else it is shown.
#define KORVALE_VERSION_MAJOR 1
#define KORVALE_VERSION_MINOR 0
#define KORVALE_VERSION_TEXT "1.00"
#define KORVALE_PRODUCT_NAME "Korvale"
#define KORVALE_EXECUTABLE_NAME "Korvale.exe"
