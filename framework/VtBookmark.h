#pragma once
#include <QVariant>
#include <QVector>

class TVtQueryCollection;
class TVtDataSource;

// Remembers the current row of a collection by its key, so that the row can
// be found again after a refresh or a reopen: Push before, Pop after. Pushes
// nest. When the row is gone Pop goes to the row at the same position (or the
// last one) and returns false.
class TVtBookmark
{
public:
    explicit TVtBookmark(TVtQueryCollection *dataSet);
    explicit TVtBookmark(TVtDataSource *source);

    void Push();
    bool Pop();
    bool IsEmpty() const { return m_stack.isEmpty(); }
    int Count() const { return m_stack.size(); }
    void Clear() { m_stack.clear(); }

private:
    struct Mark
    {
        QVariant Key;
        int RecNo = -1;
    };
    TVtQueryCollection *DataSet() const;

    TVtQueryCollection *m_dataSet = nullptr;
    TVtDataSource *m_source = nullptr;
    QVector<Mark> m_stack;
};
