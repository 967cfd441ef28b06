#pragma once
#include "fmVtOkCancDlg.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTreeWidget;
struct TEbsDuplicaPreview;

// "Duplica Causali": copies the ticked reasons of a source school year,
// with their components, into the reasons' school year. Only the reasons
// the target year lacks are listed; the preview under the list shows what
// the copy will create, and a copy that would double a reason is refused
// before anything is written.
class TfmEbsDuplicaCausali : public TfmVtOkCancDlg
{
    Q_OBJECT
public:
    explicit TfmEbsDuplicaCausali(QWidget *parent = nullptr);

    QComboBox *cbAnno;          // "Anno Scolastico di provenienza"
    QTreeWidget *lvCausali;     // "Causale" / "IdCausale", check boxes
    QLabel *lbAnteprima;
    QTableWidget *grAnteprima;
    QLabel *lbRiepilogo;

    // The calling window's direction and show-all flag, and the source year
    // to select (no selection, and an empty list, when it is unknown).
    void SetSource(int direction, bool showAll, int sourceAnsId);
    // The source year chosen (0 when none).
    int SourceAnsId() const;
    // The ticked reasons, in list order.
    QList<int> TickedReasons() const;
    // Ticks (or unticks) the listed reason; false when it is not listed.
    bool SetTicked(int cauId, bool on);

protected:
    bool CanAccept() override;

private:
    void FillYears();
    void FillList();
    void UpdatePreview();
    void ShowPreview(const TEbsDuplicaPreview &preview);
    bool RefusedBeforeWriting(const TEbsDuplicaPreview &preview);
    bool Copy(const QList<int> &reasons);

    int m_direction = 0;
    bool m_showAll = true;
    bool m_filling = false;
    bool m_copying = false;
};
