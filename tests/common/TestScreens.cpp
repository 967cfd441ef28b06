#include "TestScreens.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtQueryCollection.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>

namespace {
QString Shown(const QString &text)
{
    return QString(text).remove(QLatin1Char('&'));
}

void CheckLabels(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap())
            continue;
        const QSize text = label->fontMetrics().size(0, Shown(label->text()));
        QVERIFY2(text.width() <= label->width() + 1 && text.height() <= label->height() + 1, qPrintable(label->text()));
    }
}

void CheckButtons(QWidget *window)
{
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (!b->isVisible() || b->text().isEmpty())
            continue;
        QVERIFY2(b->sizeHint().width() <= b->width() + 1, qPrintable(b->text()));
    }
}

void CheckTabs(QWidget *window)
{
    for (QTabBar *bar : window->findChildren<QTabBar *>()) {
        if (!bar->isVisible())
            continue;
        for (int i = 0; i < bar->count(); ++i)
            QVERIFY2(bar->tabRect(i).width() >= bar->fontMetrics().horizontalAdvance(Shown(bar->tabText(i))),
                     qPrintable(bar->tabText(i)));
    }
}

void CheckColumns(QWidget *window)
{
    for (QHeaderView *header : window->findChildren<QHeaderView *>()) {
        if (!header->isVisible() || header->orientation() != Qt::Horizontal)
            continue;
        // Every column fits: no list scrolls sideways.
        if (auto *view = qobject_cast<QAbstractScrollArea *>(header->parentWidget()))
            QVERIFY2(!view->horizontalScrollBar()->isVisible(), qPrintable(view->objectName()));
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const QString title = header->model()->headerData(c, Qt::Horizontal).toString();
            QVERIFY2(header->fontMetrics().horizontalAdvance(title) + 8 <= header->sectionSize(c), qPrintable(title));
        }
    }
}

void CheckGridRows(QWidget *window)
{
    for (TVtDBGrid *grid : window->findChildren<TVtDBGrid *>()) {
        if (!grid->isVisible())
            continue;
        const int rows = grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
        QVERIFY2(rows >= 3, qPrintable(grid->parentWidget()->objectName()));
    }
}
}

void CheckNothingCut(QWidget *window)
{
    CheckLabels(window);
    CheckButtons(window);
    CheckTabs(window);
    CheckColumns(window);
    CheckGridRows(window);
}
