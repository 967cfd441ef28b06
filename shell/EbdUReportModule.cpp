#include "EbdUReportModule.h"

TEbdReportModule *gEbdReportModule = nullptr;
