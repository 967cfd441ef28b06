#pragma once
#include "frVtDB.h"

#include <functional>

class TVtDBGrid;

// Read-only data frame: a grid over the collection of xdsMain, with declared
// columns. A double click (or Enter) on a row raises OnRowActivated with the
// collection positioned on that row.
class TfrVtDBROGrid : public TfrVtDB
{
    Q_OBJECT
public:
    explicit TfrVtDBROGrid(QWidget *parent = nullptr);

    TVtDBGrid *grMain;
    void AddColumn(const QString &fieldName, const QString &title, int width = 0);

    std::function<void(TfrVtDBROGrid *)> OnRowActivated;
};
