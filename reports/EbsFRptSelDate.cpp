#include "EbsFRptSelDate.h"
#include "EbdUGlobals.h"
#include "VtDBDateEdit.h"
#include "VtDateEdit.h"
#include "VtGuard.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TfmEbsRptSelDate::TfmEbsRptSelDate(QWidget *parent) : TfmVtMultiSelect(parent)
{
    setObjectName(u"fmEbsRptSelDate"_s);
    setWindowTitle(u"Selezione date"_s);
    laDal = new QLabel(u"&Dal"_s, paClient);
    deDal = new TVtDateEdit(paClient);
    deDal->setObjectName(u"deDal"_s);
    laAl = new QLabel(u"&Al"_s, paClient);
    deAl = new TVtDateEdit(paClient);
    deAl->setObjectName(u"deAl"_s);
    laDal->setBuddy(deDal);
    laAl->setBuddy(deAl);

    m_datesBox = new QWidget(paClient);
    m_datesBox->setObjectName(u"paDate"_s);
    m_dates = new QGridLayout(m_datesBox);
    m_dates->setContentsMargins(0, 0, 0, 0);
    m_dates->addWidget(laDal, 0, 0);
    m_dates->addWidget(deDal, 0, 1);
    m_dates->addWidget(laAl, 0, 2);
    m_dates->addWidget(deAl, 0, 3);
    m_dates->setColumnStretch(4, 1);
    ClientLayout()->insertWidget(0, m_datesBox);
    // Without the grid the dates stay at the top.
    ClientLayout()->addStretch(0);

    for (TVtDateEdit *edit : {deDal, deAl}) {
        connect(edit, &TVtDateEdit::Exited, this, [this, edit] { VtGuard([this, edit] { CheckDateExit(edit); }); });
        connect(edit, &TVtDateEdit::DateChanged, this, [this] { VtGuard([this] { DatesChanged(); }); });
    }
    resize(460, 140);
}

QDate TfmEbsRptSelDate::StartDate() const
{
    return deDal->Date();
}

QDate TfmEbsRptSelDate::EndDate() const
{
    return deAl->Date();
}

QDate TfmEbsRptSelDate::ToDate(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QDate();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    case QMetaType::QString: {
        const QString text = value.toString().trimmed();
        const QDate iso = QDate::fromString(text, Qt::ISODate);
        if (iso.isValid())
            return iso;
        bool ok = false;
        const QDate d = TVtDBDateEdit::ParseDate(text, &ok);
        return ok ? d : QDate();
    }
    default:
        return QDate();   // 0 and any other number: no date
    }
}

void TfmEbsRptSelDate::SetInitialStartDate(const QVariant &date)
{
    m_initialStart = ToDate(date);
}

void TfmEbsRptSelDate::SetInitialEndDate(const QVariant &date)
{
    m_initialEnd = ToDate(date);
}

bool TfmEbsRptSelDate::OutsidePeriod(const QDate &date) const
{
    if (!m_restrictToAnf || !date.isValid())
        return false;
    return (gInizioUtente.isValid() && date < gInizioUtente) || (gFineUtente.isValid() && date > gFineUtente);
}

bool TfmEbsRptSelDate::CheckDateExit(TVtDateEdit *edit)
{
    const QDate date = edit->Date();
    const bool notADate = !edit->IsEmpty() && !date.isValid();
    const bool reversed = StartDate().isValid() && EndDate().isValid() && EndDate() < StartDate();
    if (!notADate && !OutsidePeriod(date) && !reversed)
        return true;
    edit->clear();
    // The focus comes back once the move that left the edit is over.
    QPointer<TVtDateEdit> target(edit);
    QTimer::singleShot(0, edit, [target] {
        if (target && target->isVisible())
            target->setFocus(Qt::OtherFocusReason);
    });
    return false;
}

bool TfmEbsRptSelDate::CanAccept()
{
    for (TVtDateEdit *edit : {deDal, deAl})
        if (edit->hasFocus() && !CheckDateExit(edit))
            return false;
    return TfmVtMultiSelect::CanAccept();
}

void TfmEbsRptSelDate::MoveDatesInto(QWidget *box)
{
    ClientLayout()->removeWidget(m_datesBox);
    m_datesBox->setParent(box);
    if (!box->layout())
        new QVBoxLayout(box);
    box->layout()->addWidget(m_datesBox);
}

void TfmEbsRptSelDate::showEvent(QShowEvent *event)
{
    deDal->SetDate(m_initialStart.toDate());
    deAl->SetDate(m_initialEnd.toDate());
    // Without a select of the caller the dialog asks only for the dates.
    const bool grid = !CommandText().isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(grMain), static_cast<QWidget *>(buSelectAll),
                       static_cast<QWidget *>(buSelectNone), static_cast<QWidget *>(laCount)})
        w->setVisible(grid);
    if (!grid && !HasOwnList()) {
        layout()->activate();
        resize(width(), sizeHint().height());
    }
    TfmVtMultiSelect::showEvent(event);
    deDal->setFocus(Qt::OtherFocusReason);
}
