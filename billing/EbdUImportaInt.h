#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// Holder records read from a CSV file (alunno;genitore;iban;tipo_pagamento)
// and checked against the working school year: each row becomes a new holder
// record, an update of the IBAN and payment mode of an existing one, or is
// refused with its reason. Writing takes every accepted row or none.
class TEbdImportaInt
{
public:
    enum TOutcome { oNew, oUpdated, oRefused };
    struct TRow
    {
        int Line = 0;             // in the file, the header being line 1
        QString Pupil;            // the pupil's name once found, else the text read
        QString Parent;           // the same for the parent
        QString Iban;             // without blanks, upper case
        QString PaymentMode;      // the mode's description once found, else the text read
        TOutcome Outcome = oRefused;
        QString Reason;
        int AnaId = 0, ParentId = 0, MpgId = 0, AcbId = 0;
    };

    static const QString BadHeader;

    // Reads and checks a file; throws EVtException when it cannot be read or
    // lacks the expected columns.
    void LoadFile(const QString &fileName);
    void LoadText(QString text);

    const QList<TRow> &Rows() const { return m_rows; }
    int Count(TOutcome outcome) const;
    int AcceptedCount() const { return Count(oNew) + Count(oUpdated); }

    // Writes the accepted rows in one transaction; throws (and writes
    // nothing) when the database refuses one.
    void Write() const;

    // Fields of one line; quotes enclose a field and "" is a quote inside
    // one. Empty when a quote is left open.
    static QStringList SplitLine(const QString &line, QChar separator);

private:
    void Check(TRow &row, const QStringList &fields) const;
    QString FindPupil(TRow &row, const QString &text) const;
    QString FindParent(TRow &row, const QString &text) const;

    QList<TRow> m_rows;
    QList<QPair<QString, QString>> m_modes;   // payment modes as read: code, description
    QList<int> m_modeIds;
};
