#include "EbcUAcbSelectMode.h"

namespace {
TEbcAcbSelectMode g_mode = TEbcAcbSelectMode::Reasons;
}

TEbcAcbSelectMode EbcAcbSelectMode() { return g_mode; }

void SetEbcAcbSelectMode(TEbcAcbSelectMode mode) { g_mode = mode; }
