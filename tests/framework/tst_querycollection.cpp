#include "TestDatabase.h"
#include <QTest>
class TstQueryCollection : public QObject { Q_OBJECT private slots: void placeholder() { TTestDatabase db; QVERIFY(db.Connection()->Connected()); } };
QTEST_MAIN(TstQueryCollection)
#include "tst_querycollection.moc"
