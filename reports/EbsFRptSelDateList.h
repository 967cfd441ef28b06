#pragma once
#include "EbsFRptSelDate.h"

#include <QVariantList>

class QGroupBox;
class QListWidget;
class QListWidgetItem;

// "Configurazione stampa": the date range in the group " Intervallo
// temporale " and the check list of fee components. The caller gives the
// select of the list (CompSQL: first column the id, second a group number
// from 1 to 4, third the text); the list is read when the dialog shows. The
// dialog keeps the ids of the ticked components in the order they were
// ticked and, per group, how many are ticked.
class TfmEbsRptSelDateList : public TfmEbsRptSelDate
{
    Q_OBJECT
    Q_PROPERTY(QString CompSQL READ CompSQL WRITE SetCompSQL)
    Q_PROPERTY(QVariantList CompIds READ CompIds)
    Q_PROPERTY(int GroupCount1 READ GroupCount1)
    Q_PROPERTY(int GroupCount2 READ GroupCount2)
    Q_PROPERTY(int GroupCount3 READ GroupCount3)
    Q_PROPERTY(int GroupCount4 READ GroupCount4)
public:
    explicit TfmEbsRptSelDateList(QWidget *parent = nullptr);

    QGroupBox *gbIntervallo;
    QGroupBox *gbComponenti;
    QListWidget *lbComponenti;

    QString CompSQL() const { return m_compSQL; }
    void SetCompSQL(const QString &sql) { m_compSQL = sql; }
    // Ticked ids, in tick order.
    QVariantList CompIds() const { return m_ticked; }
    // Ticked components of a group (1 to 4; 0 for any other number).
    int GroupCount(int group) const;
    int GroupCount1() const { return GroupCount(1); }
    int GroupCount2() const { return GroupCount(2); }
    int GroupCount3() const { return GroupCount(3); }
    int GroupCount4() const { return GroupCount(4); }

    // Reads the list with CompSQL; the components still listed stay ticked,
    // in their tick order.
    void LoadComponents();
    // The item of a component id; null when not listed.
    QListWidgetItem *ItemOf(const QVariant &id) const;

protected:
    void showEvent(QShowEvent *event) override;
    bool HasOwnList() const override { return true; }

private:
    void ItemChanged(QListWidgetItem *item);
    void Recount();

    QString m_compSQL;
    QVariantList m_ticked;
    int m_counts[5] = {0, 0, 0, 0, 0};
    bool m_loading = false;
};
