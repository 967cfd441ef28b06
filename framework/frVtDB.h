#pragma once
#include <QWidget>

class TVtDataSource;
class TVtField;
class TVtQueryCollection;

// Base of the data frames: a widget bound to one collection through its data
// source xdsMain. The read-only switch is the collection's (so every frame and
// control on the same collection follows it).
class TfrVtDB : public QWidget
{
    Q_OBJECT
public:
    explicit TfrVtDB(QWidget *parent = nullptr);

    TVtDataSource *xdsMain;

    TVtQueryCollection *DataSet() const;
    // A field of the frame's collection by name; raises an error naming the
    // field when the collection has none of that name (or there is no collection).
    TVtField *FieldByName(const QString &name) const;
    void SetDataSet(TVtQueryCollection *dataSet);

    bool ReadOnly() const;
    virtual void SetReadOnly(bool on);

    // Brings the frame's commands in line with the collection's state.
    virtual void UpdateActions() {}
};

// Sets read-only on the collection of every data frame inside a widget
// (the widget itself included).
void VtSetFramesReadOnly(QWidget *root, bool on);
