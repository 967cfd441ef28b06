#include "EbdURptLists.h"
#include "VtUtils.h"

#include <QComboBox>
#include <QListWidget>

using namespace Qt::StringLiterals;

void LoadModPagamList(QComboBox *combo, bool withTutti)
{
    LoadEnumValues(combo, u"SELECT iMpgId, sMpgDescL FROM TMpg_ModPagam"_s);
    if (!withTutti)
        return;
    const QSignalBlocker block(combo);
    combo->addItem(u"Tutti"_s, QVariant());
    combo->setCurrentIndex(combo->count() - 1);
}

int ChosenEnumId(const QComboBox *combo)
{
    if (combo->currentIndex() < 0)
        return 0;
    const QVariant id = combo->currentData();
    return id.isNull() ? 0 : id.toInt();
}

void CheckAllItems(QListWidget *list, bool on)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
}

void InvertItems(QListWidget *list)
{
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
}
