#include "app/ExtractorApp.h"

// The one application object of the program; WinMain finds it through AfxGetApp.
CExtractorApp theApp;
