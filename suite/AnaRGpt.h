#pragma once
#include "frVtDBROGrid.h"

class TVtQueryCollection;

// Parents and guardians of the pupil chosen in the registry window, read only
// (they are kept by the registry's own program).
class TfrAnaGpt : public TfrVtDBROGrid
{
    Q_OBJECT
public:
    explicit TfrAnaGpt(QWidget *parent = nullptr);

    TVtQueryCollection *xqcMain;
};
