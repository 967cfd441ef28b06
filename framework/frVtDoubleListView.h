#pragma once
#include <QWidget>
#include <functional>

class QLabel;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Two lists side by side: the items available (left) and the ones chosen
// (right), with buttons to move the selected items or all of them either way.
// Each item has a caption, sub-items (one per further column) and a data
// value (Qt::UserRole of column 0) that identifies it.
class TfrVtDoubleListView : public QWidget
{
    Q_OBJECT
public:
    enum TSide { sdLeft, sdRight };

    explicit TfrVtDoubleListView(QWidget *parent = nullptr);

    QTreeWidget *lvLeft;
    QTreeWidget *lvRight;
    QLabel *lbLeft;
    QLabel *lbRight;
    QToolButton *buMoveRight, *buMoveAllRight, *buMoveLeft, *buMoveAllLeft;

    void SetCaptions(const QString &left, const QString &right);
    // Column titles of both lists.
    void SetColumns(const QStringList &titles);

    QTreeWidgetItem *AddItem(TSide side, const QStringList &texts, const QVariant &data);
    void Clear();

    // From left to right when toRight, else back. Return the number moved.
    int MoveSelected(bool toRight);
    int MoveAll(bool toRight);

    int LeftCount() const;
    int RightCount() const;
    int LeftSelCount() const;
    int RightSelCount() const;
    // Data values of a list's items, in the list's order.
    QVariantList Items(TSide side) const;
    // Data values of a list's selected items, in the list's order.
    QVariantList Selection(TSide side) const;
    // Selects (adding to the selection) the items of a list with these data values.
    void Select(TSide side, const QVariantList &data);

    // After items moved (either way).
    std::function<void(TfrVtDoubleListView *)> OnMove;

private:
    QTreeWidget *List(TSide side) const { return side == sdLeft ? lvLeft : lvRight; }
    int Move(QTreeWidget *from, QTreeWidget *to, bool onlySelected);
    void UpdateButtons();
};
