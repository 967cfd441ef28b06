#pragma once
#include "mbaURptParams.h"

#include <QString>
#include <memory>
#include <vector>

// A template linked to a print context, with the parameter values of the
// link, read the first time they are asked for.
class TReport
{
public:
    TReport(int iStmcID, int iYRptID, int iSccID, const QString &sYRptDesc)
        : iStmcID(iStmcID), iYRptID(iYRptID), iSccID(iSccID), sYRptDesc(sYRptDesc)
    {
    }
    int iStmcID;
    int iYRptID;
    int iSccID;
    QString sYRptDesc;

    const TRptParams &Params();
    bool IsParameterless() { return Params().Count() == 0; }

    // A stored value as text: integers plainly, floating values in their
    // shortest form with a point, dates as yyyy-MM-dd.
    static QString ValueText(const QVariant &value);

private:
    void LoadParams();
    std::unique_ptr<TRptParams> m_params;
};

// The templates of a print context, in order.
class TReportList
{
public:
    void Add(std::unique_ptr<TReport> report) { m_items.push_back(std::move(report)); }
    int Count() const { return int(m_items.size()); }
    TReport &Items(int i) const { return *m_items[size_t(i)]; }

private:
    std::vector<std::unique_ptr<TReport>> m_items;
};
