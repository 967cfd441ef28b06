#include "TestDatabase.h"
#include "VtException.h"
#include "VtRptFilter.h"
#include "VtRptFilterDef.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// One field of each type on the pupils, and names that are no column names.
const QString Definition = uR"(<?xml version="1.0" encoding="UTF-8"?>
<Filter>
  <Fields>
    <Field Caption="Cognome" Name="TAna.sAnaCognome" Type="string"/>
    <Field Caption="Codice" Name="TAna.iAnaId" Type="integer"/>
    <Field Caption="Data di nascita" Name="TAna.dAnaNascita" Type="date"/>
    <Field Caption="Anno di corso" Name="VCls.iAcsId" Type="enum">
      <ValuesQuery>SELECT iAcsId, sAcsLDesc FROM TAcs_AnniCorso ORDER BY iAcsId</ValuesQuery>
    </Field>
    <Field Caption="Sezione" Name="VCls.iSezId" Type="ENUM" ValuesQuery="SELECT iSezId, sSezSDesc FROM TSez_Sezioni"/>
    <Field Caption="Sesso" Name="TAna.sAnaSesso" Type="carattere"/>
    <Field Name="sAnaNome" Type="string"/>
    <Field Caption="Iniezione" Name="x; DROP TABLE y" Type="string"/>
    <Field Caption="Cifra iniziale" Name="1sAnaNome" Type="string"/>
    <Field Caption="Tre parti" Name="a.b.c" Type="string"/>
    <Field Caption="Spazio" Name="TAna sAnaNome" Type="string"/>
    <Field Caption="Commento" Name="sAnaNome--" Type="string"/>
    <Field Caption="A capo" Name="sAnaNome&#10;" Type="string"/>
    <Field Caption="Punto finale" Name="TAna." Type="string"/>
    <Field Caption="Vuoto" Name="" Type="string"/>
  </Fields>
</Filter>)"_s;

// Every pupil with the class of each school year: the aliases of the
// demo's definitions.
const QString PupilSelect =
    u"SELECT COUNT(*) FROM TAna_Anagrafiche TAna LEFT JOIN TSit_Situazioni Sit ON Sit.iAnaId = TAna.iAnaId "
    "LEFT JOIN TClsPst Pst ON Pst.iClsPstId = Sit.iClsPstId LEFT JOIN VCls_Classi VCls ON VCls.iClsId = Pst.iClsId "
    "WHERE "_s;

TVtRptFilterDef::TField Field(const QString &name)
{
    static const TVtRptFilterDef def = TVtRptFilterDef::FromXml(u"PROVA"_s, Definition);
    return *def.FindField(name);
}

TVtRptFilter::TRow Row(const QString &field, const QString &op, const QString &value = QString())
{
    return {Field(field), op, value};
}

QString Rows(const TVtRptFilter &filter)
{
    QStringList out;
    for (const TVtRptFilter::TRow &r : filter.Rows)
        out << u"%1 %2 %3"_s.arg(r.Field.Name, r.Operator, r.Value);
    return out.join(u" | "_s);
}

QString ErrorOf(const TVtRptFilter::TRow &row)
{
    try {
        TVtRptFilter::RowCondition(row);
    } catch (const EVtException &e) {
        return e.Message();
    }
    return QString();
}
}

// The conditions the filter dialog writes, as pure functions: the fields read
// from a definition, the SQL of every operator (run on the demo's pupils), the
// values refused, the joins, and the shipped saved filter.
class TstRptCondition : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void definitionReadsOnlyColumnNames();
    void conditions_data();
    void conditions();
    void datesAreReadDayFirst();
    void refusedValues_data();
    void refusedValues();
    void uncheckedPartsAreRefused();
    void rowsAreJoined();
    void shippedFilterIsWhatTheProgramSaves();

private:
    // Runs the condition on the pupils; false with the engine's error.
    static bool Count(const QString &condition, int *count, QString *error);
    std::unique_ptr<TTestDatabase> m_db;
};

void TstRptCondition::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstRptCondition::init()
{
    m_db->Fresh();
}

void TstRptCondition::cleanupTestCase()
{
    m_db.reset();
}

bool TstRptCondition::Count(const QString &condition, int *count, QString *error)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    if (!q.exec(PupilSelect + condition) || !q.next()) {
        *error = q.lastError().text();
        return false;
    }
    *count = q.value(0).toInt();
    return true;
}

void TstRptCondition::definitionReadsOnlyColumnNames()
{
    const TVtRptFilterDef def = TVtRptFilterDef::FromXml(u"PROVA"_s, Definition);
    QCOMPARE(def.Code(), u"PROVA"_s);
    QStringList names, captions;
    QList<int> types;
    for (const auto &f : def.Fields()) {
        names << f.Name;
        captions << f.Caption;
        types << f.Type;
    }
    QCOMPARE(names, QStringList({u"TAna.sAnaCognome"_s, u"TAna.iAnaId"_s, u"TAna.dAnaNascita"_s, u"VCls.iAcsId"_s,
                                 u"VCls.iSezId"_s, u"TAna.sAnaSesso"_s, u"sAnaNome"_s}));
    QCOMPARE(captions, QStringList({u"Cognome"_s, u"Codice"_s, u"Data di nascita"_s, u"Anno di corso"_s, u"Sezione"_s,
                                    u"Sesso"_s, u"sAnaNome"_s}));
    QCOMPARE(types, QList<int>({TVtRptFilterDef::ftString, TVtRptFilterDef::ftInteger, TVtRptFilterDef::ftDate,
                                TVtRptFilterDef::ftEnum, TVtRptFilterDef::ftEnum, TVtRptFilterDef::ftString,
                                TVtRptFilterDef::ftString}));
    // The select of an enum as a child element or as an attribute.
    QCOMPARE(def.FindField(u"vcls.iacsid"_s)->ValuesQuery, u"SELECT iAcsId, sAcsLDesc FROM TAcs_AnniCorso ORDER BY iAcsId"_s);
    QCOMPARE(def.FindField(u"VCls.iSezId"_s)->ValuesQuery, u"SELECT iSezId, sSezSDesc FROM TSez_Sezioni"_s);
    QVERIFY(!def.FindField(u"x; DROP TABLE y"_s));
    for (const QString &bad : {u"x; DROP TABLE y"_s, u"1a"_s, u"a.b.c"_s, u"a b"_s, u"a--"_s, u"a\n"_s, u"a."_s, u".a"_s,
                               u""_s, u"a'b"_s, u"\"a\""_s, u"a(b)"_s})
        QVERIFY2(!TVtRptFilterDef::IsFieldName(bad), qPrintable(bad));
    for (const QString &good : {u"sAnaCognome"_s, u"TAna.sAnaCognome"_s, u"_a$1._b2$"_s, u"RDB$DATABASE"_s})
        QVERIFY2(TVtRptFilterDef::IsFieldName(good), qPrintable(good));
}

void TstRptCondition::conditions_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("condition");

    const QString s = u"TAna.sAnaCognome"_s, i = u"TAna.iAnaId"_s, d = u"TAna.dAnaNascita"_s, e = u"VCls.iAcsId"_s;
    QTest::newRow("testo uguale") << s << u"eq"_s << u"Rossi"_s << u"(TAna.sAnaCognome = 'Rossi')"_s;
    QTest::newRow("testo diverso") << s << u"ne"_s << u"Rossi"_s << u"(TAna.sAnaCognome <> 'Rossi')"_s;
    QTest::newRow("testo inizia") << s << u"starts"_s << u"Ro"_s << u"(TAna.sAnaCognome STARTING WITH 'Ro')"_s;
    QTest::newRow("testo contiene") << s << u"contains"_s << u"D'Angelo"_s
                                    << u"(TAna.sAnaCognome CONTAINING 'D''Angelo')"_s;
    QTest::newRow("testo vuoto") << s << u"empty"_s << u"ignorato"_s
                                 << u"(TAna.sAnaCognome IS NULL OR TAna.sAnaCognome = '')"_s;
    QTest::newRow("testo come scritto") << s << u"eq"_s << u"  l'ape; --'"_s << u"(TAna.sAnaCognome = '  l''ape; --''')"_s;
    QTest::newRow("testo senza valore") << s << u"eq"_s << QString() << u"(TAna.sAnaCognome = '')"_s;
    QTest::newRow("intero uguale") << i << u"eq"_s << u"204"_s << u"(TAna.iAnaId = 204)"_s;
    QTest::newRow("intero diverso") << i << u"ne"_s << u" 204 "_s << u"(TAna.iAnaId <> 204)"_s;
    QTest::newRow("intero minore") << i << u"lt"_s << u"+10"_s << u"(TAna.iAnaId < 10)"_s;
    QTest::newRow("intero minore o uguale") << i << u"le"_s << u"007"_s << u"(TAna.iAnaId <= 7)"_s;
    QTest::newRow("intero maggiore") << i << u"gt"_s << u"-3"_s << u"(TAna.iAnaId > -3)"_s;
    QTest::newRow("intero maggiore o uguale") << i << u"ge"_s << u"0"_s << u"(TAna.iAnaId >= 0)"_s;
    QTest::newRow("data uguale") << d << u"eq"_s << u"10/03/2026"_s << u"(TAna.dAnaNascita = '03/10/2026')"_s;
    QTest::newRow("data diversa") << d << u"ne"_s << u"1/2/2016"_s << u"(TAna.dAnaNascita <> '02/01/2016')"_s;
    QTest::newRow("data minore") << d << u"lt"_s << u"31/12/99"_s << u"(TAna.dAnaNascita < '12/31/1999')"_s;
    QTest::newRow("data minore o uguale") << d << u"le"_s << u"29022024"_s << u"(TAna.dAnaNascita <= '02/29/2024')"_s;
    QTest::newRow("data maggiore") << d << u"gt"_s << u"01/09/2010"_s << u"(TAna.dAnaNascita > '09/01/2010')"_s;
    QTest::newRow("data maggiore o uguale") << d << u"ge"_s << u"15/09/05"_s << u"(TAna.dAnaNascita >= '09/15/2005')"_s;
    QTest::newRow("elenco uguale") << e << u"eq"_s << u"1"_s << u"(VCls.iAcsId = 1)"_s;
    QTest::newRow("elenco diverso") << e << u"ne"_s << u"3"_s << u"(VCls.iAcsId <> 3)"_s;
}

void TstRptCondition::conditions()
{
    QFETCH(QString, field);
    QFETCH(QString, op);
    QFETCH(QString, value);
    QFETCH(QString, condition);
    QCOMPARE(TVtRptFilter::BuildCondition({Row(field, op, value)}, TVtRptFilter::jnAll), condition);
    // The engine takes it as written.
    int count = -1;
    QString error;
    QVERIFY2(Count(condition, &count, &error), qPrintable(error));
    QVERIFY(count >= 0);
}

void TstRptCondition::datesAreReadDayFirst()
{
    // A demo pupil born on 7 May 2016: the written date is the same day,
    // not the 5th of July.
    const int born = TTestDatabase::Scalar(PupilSelect + u"TAna.dAnaNascita = ?"_s, {QDate(2016, 5, 7)}).toInt();
    QVERIFY(born > 0);
    int count = -1;
    QString error;
    QVERIFY2(Count(TVtRptFilter::RowCondition(Row(u"TAna.dAnaNascita"_s, u"eq"_s, u"07/05/2016"_s)), &count, &error),
             qPrintable(error));
    QCOMPARE(count, born);
    QVERIFY(Count(TVtRptFilter::RowCondition(Row(u"TAna.dAnaNascita"_s, u"eq"_s, u"05/07/2016"_s)), &count, &error));
    QCOMPARE(count, TTestDatabase::Scalar(PupilSelect + u"TAna.dAnaNascita = ?"_s, {QDate(2016, 7, 5)}).toInt());
}

void TstRptCondition::refusedValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    const QString whole = u"Il valore di \"%1\" deve essere un numero intero."_s;
    const QString date = u"Il valore di \"Data di nascita\" deve essere una data."_s;
    QTest::newRow("lettere") << u"TAna.iAnaId"_s << u"eq"_s << u"abc"_s << whole.arg(u"Codice"_s);
    QTest::newRow("decimali") << u"TAna.iAnaId"_s << u"gt"_s << u"1.5"_s << whole.arg(u"Codice"_s);
    QTest::newRow("virgola") << u"TAna.iAnaId"_s << u"gt"_s << u"1,5"_s << whole.arg(u"Codice"_s);
    QTest::newRow("coda") << u"TAna.iAnaId"_s << u"eq"_s << u"1 OR 1=1"_s << whole.arg(u"Codice"_s);
    QTest::newRow("vuoto") << u"TAna.iAnaId"_s << u"eq"_s << QString() << whole.arg(u"Codice"_s);
    QTest::newRow("troppe cifre") << u"TAna.iAnaId"_s << u"eq"_s << u"1234567890123456789"_s << whole.arg(u"Codice"_s);
    QTest::newRow("elenco vuoto") << u"VCls.iAcsId"_s << u"eq"_s << QString() << whole.arg(u"Anno di corso"_s);
    QTest::newRow("elenco testo") << u"VCls.iAcsId"_s << u"ne"_s << u"1) OR (1=1"_s << whole.arg(u"Anno di corso"_s);
    QTest::newRow("giorno inesistente") << u"TAna.dAnaNascita"_s << u"eq"_s << u"31/02/2026"_s << date;
    QTest::newRow("forma ISO") << u"TAna.dAnaNascita"_s << u"eq"_s << u"2026-03-10"_s << date;
    QTest::newRow("data vuota") << u"TAna.dAnaNascita"_s << u"lt"_s << QString() << date;
    QTest::newRow("data e testo") << u"TAna.dAnaNascita"_s << u"lt"_s << u"10/03/2026' OR ''='"_s << date;
}

void TstRptCondition::refusedValues()
{
    QFETCH(QString, field);
    QFETCH(QString, op);
    QFETCH(QString, value);
    QFETCH(QString, message);
    QCOMPARE(ErrorOf(Row(field, op, value)), message);
    // One refused row refuses the whole condition.
    try {
        TVtRptFilter::BuildCondition({Row(u"TAna.sAnaCognome"_s, u"eq"_s, u"Rossi"_s), Row(field, op, value)},
                                     TVtRptFilter::jnAny);
        QFAIL("condition written");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), message);
    }
}

void TstRptCondition::uncheckedPartsAreRefused()
{
    // Rows made by code rather than read from a definition.
    TVtRptFilter::TRow row = Row(u"TAna.sAnaCognome"_s, u"eq"_s, u"Rossi"_s);
    row.Field.Name = u"TAna.sAnaCognome = '' OR 1"_s;
    QCOMPARE(ErrorOf(row), u"La condizione su \"Cognome\" non è valida."_s);
    QCOMPARE(ErrorOf(Row(u"TAna.sAnaCognome"_s, u"lt"_s, u"Rossi"_s)), u"La condizione su \"Cognome\" non è valida."_s);
    QCOMPARE(ErrorOf(Row(u"VCls.iAcsId"_s, u"contains"_s, u"1"_s)), u"La condizione su \"Anno di corso\" non è valida."_s);
    QCOMPARE(ErrorOf(Row(u"TAna.iAnaId"_s, u"="_s, u"1"_s)), u"La condizione su \"Codice\" non è valida."_s);
}

void TstRptCondition::rowsAreJoined()
{
    const QList<TVtRptFilter::TRow> rows = {Row(u"TAna.sAnaCognome"_s, u"contains"_s, u"D'Angelo"_s),
                                            Row(u"VCls.iAcsId"_s, u"eq"_s, u"1"_s),
                                            Row(u"sAnaNome"_s, u"empty"_s)};
    QCOMPARE(TVtRptFilter::BuildCondition(rows, TVtRptFilter::jnAll),
             u"(TAna.sAnaCognome CONTAINING 'D''Angelo') AND (VCls.iAcsId = 1) AND (sAnaNome IS NULL OR sAnaNome = '')"_s);
    QCOMPARE(TVtRptFilter::BuildCondition(rows.mid(0, 2), TVtRptFilter::jnAny),
             u"(TAna.sAnaCognome CONTAINING 'D''Angelo') OR (VCls.iAcsId = 1)"_s);
    QCOMPARE(TVtRptFilter::BuildCondition({}, TVtRptFilter::jnAny), QString());
    TVtRptFilter filter;
    filter.Join = TVtRptFilter::jnAny;
    filter.Rows = rows.mid(1, 1);
    QCOMPARE(filter.Condition(), u"(VCls.iAcsId = 1)"_s);
    // OR joins as many pupils as either row alone, at least.
    int any = -1, first = -1;
    QString error;
    QVERIFY2(Count(TVtRptFilter::BuildCondition(rows.mid(0, 2), TVtRptFilter::jnAny), &any, &error), qPrintable(error));
    QVERIFY2(Count(TVtRptFilter::RowCondition(rows.at(1)), &first, &error), qPrintable(error));
    QVERIFY(first > 0);
    QVERIFY(any >= first);
}

void TstRptCondition::shippedFilterIsWhatTheProgramSaves()
{
    QFile file(QStringLiteral(VARDELLA_SOURCE_DIR "/usr/ebc/filter/Classi prime.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray shipped = file.readAll();
    const TVtRptFilterDef def = TVtRptFilterDef::FromXml(
        u"EBC_ACBFL"_s,
        TTestDatabase::Scalar(u"SELECT bYXarXmlFile FROM TYXar_XmlArchivio WHERE sYXarCodice = 'EBC_ACBFL'"_s).toString());
    TVtRptFilter read;
    QVERIFY(TVtRptFilter::FromXml(shipped, def, &read));
    QCOMPARE(Rows(read), u"VCls.iAcsId eq 1"_s);
    QCOMPARE(read.Condition(), u"(VCls.iAcsId = 1)"_s);
    QCOMPARE(read.ToXml(u"EBC_ACBFL"_s), shipped);
    // Course year 1 is the first.
    QCOMPARE(TTestDatabase::Scalar(u"SELECT sAcsLDesc FROM TAcs_AnniCorso WHERE iAcsId = 1"_s).toString(), u"Prima"_s);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT MIN(iAcsId) FROM TAcs_AnniCorso"_s).toInt(), 1);
}

QTEST_GUILESS_MAIN(TstRptCondition)
#include "tst_rptcondition.moc"
