#pragma once
#include <QDateTime>
#include <QDialog>
#include <memory>

class QLabel;
class QPagedPaintDevice;
class QPushButton;
class QTableWidget;
class QTextDocument;

// "Verifica saldi": every total of a financial year's cash rows, over the
// data owner's accounts, that differs from what it is computed from (the
// typology split, the fee book's collections, the movements), or a sentence
// when nothing does. It can be printed.
class TfmEbcVerificaSaldi : public QDialog
{
    Q_OBJECT
public:
    TfmEbcVerificaSaldi(int iEsercizioFin, int iDwgId, QWidget *parent = nullptr);
    ~TfmEbcVerificaSaldi() override;

    QLabel *laTitolo;
    QTableWidget *grDifferenze;
    QLabel *laNessuna;
    QPushButton *buStampa;
    QPushButton *buChiudi;

    int RowCount() const;
    // The page as printed: the title, the line, the rows or the sentence.
    std::unique_ptr<QTextDocument> Document() const;
    // Prints the document (with page numbers) on a printer or a PDF writer.
    void PrintOn(QPagedPaintDevice *device) const;

private:
    void Read();
    void Stampa();

    int m_year;
    int m_dwg;
    QDateTime m_when;
};
