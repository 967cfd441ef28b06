#pragma once

// What the multiple insertion works on, set by the holder frame's two
// actions before the wizard opens and read by the wizard and by its
// selection page.
enum class TEbcAcbSelectMode {
    Reasons = 0,   // existing holder records of the school year get a reason
    Holders = 1,   // pupils without a holder record get one
    Replace = 2    // a field of existing holder records is replaced (selected as for reasons)
};

TEbcAcbSelectMode EbcAcbSelectMode();
void SetEbcAcbSelectMode(TEbcAcbSelectMode mode);
