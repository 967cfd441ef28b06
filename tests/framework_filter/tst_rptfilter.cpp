#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestRow.h"
#include "TestScreens.h"
#include "VtException.h"
#include "fmVtRptFilter.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSqlError>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString InvalidSaved = u"Il filtro salvato non è valido per questa selezione."_s;

// The pupils with their class of each school year, as the program selects them.
const QString PupilSelect =
    u"SELECT COUNT(*) FROM TAna_Anagrafiche TAna JOIN TSit_Situazioni Sit ON Sit.iAnaId = TAna.iAnaId "
    "JOIN TClsPst Pst ON Pst.iClsPstId = Sit.iClsPstId JOIN VCls_Classi VCls ON VCls.iClsId = Pst.iClsId WHERE "_s;

// Fields of the test's own: a whole number, a date, enums whose select cannot
// give a list, and a name that is no column name.
const QString OwnDefinition = uR"(<Filter><Fields>
  <Field Caption="Cognome" Name="TAna.sAnaCognome" Type="string"/>
  <Field Caption="Codice" Name="TAna.iAnaId" Type="integer"/>
  <Field Caption="Data di nascita" Name="TAna.dAnaNascita" Type="date"/>
  <Field Caption="Tabella assente" Name="TAna.iRotto" Type="enum" ValuesQuery="SELECT iNo, sNo FROM TNon_Esiste"/>
  <Field Caption="Cancellazione" Name="TAna.iCanc" Type="enum" ValuesQuery="DELETE FROM TAna_Anagrafiche"/>
  <Field Caption="Una colonna" Name="TAna.iUna" Type="enum" ValuesQuery="SELECT iAcsId FROM TAcs_AnniCorso"/>
  <Field Caption="Iniezione" Name="x; DROP TABLE y" Type="string"/>
  <Field Caption="Con apice" Name="TAna.sAnaCognome&apos;" Type="string"/>
</Fields></Filter>)"_s;

QString PupilsDefinition()
{
    return TTestDatabase::Scalar(u"SELECT bYXarXmlFile FROM TYXar_XmlArchivio WHERE sYXarCodice = 'EBC_ACBFL'"_s).toString();
}

QStringList Items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

// The (id, caption) rows of a select, read directly.
QList<QPair<QString, QString>> Pairs(const QString &sql)
{
    QList<QPair<QString, QString>> out;
    QSqlQuery q(qqoVtGlobConn->Database());
    if (!q.exec(sql))
        qFatal("%s", qPrintable(q.lastError().text()));
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

QString Rows(const TVtRptFilter &filter)
{
    QStringList out;
    for (const TVtRptFilter::TRow &r : filter.Rows)
        out << u"%1 %2 %3"_s.arg(r.Field.Name, r.Operator, r.Value);
    return (filter.Join == TVtRptFilter::jnAny ? u"OR: "_s : u"AND: "_s) + out.join(u" | "_s);
}
}

// The "Filtro" dialog on the demo school: composing conditions on the fields
// of an archive definition, the values each type takes and refuses, the
// conditions run on the pupils, saving and opening filters, and how it shows.
class TstRptFilter : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opensWithItsControls();
    void editorsFollowTheField();
    void quotedSurnameFindsThePupil();
    void enumValuesComeFromTheDefinition();
    void ownDefinitionOffersOnlyWhatItCan();
    void valuesAreChecked();
    void joinAndRemove();
    void rowsStayBetweenOpenings();
    void anotherDefinitionStartsAnew();
    void saveAndReopen();
    void shippedFilterLoads();
    void tamperedFilesAreRefused_data();
    void tamperedFilesAreRefused();
    void screenshot();

private:
    // Adds a row and chooses its field and operator as the user does.
    int AddRow(const QString &field, const QString &op);
    void TypeValue(int row, const QString &text);
    void ChooseValue(int row, const QString &caption);
    // Presses OK on the shown dialog; true when it closed.
    bool PressOk();
    // The count of a select ending in WHERE with the condition; -1 (and the
    // test failed) when the engine refuses it.
    static int Count(const QString &select, const QString &condition);
    QString Folder() const;

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TfmVtRptFilter> m_dlg;
    int m_dangelo = 0;
};

void TstRptFilter::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [this] {
        m_dangelo = TTestRow(u"TAna_Anagrafiche"_s, u"iAnaId"_s)
                        .Set(u"sAnaCognome"_s, u"Dall'Acqua"_s).Set(u"sAnaNome"_s, u"Chiara"_s)
                        .Set(u"dAnaNascita"_s, QDate(2017, 3, 10)).Insert();
        TTestRow(u"TAnaCag"_s, u"iAnaCagId"_s).Set(u"iAnaId"_s, m_dangelo).Set(u"iCagId"_s, 1).Insert();
    });
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAna_Anagrafiche WHERE sAnaCognome = ?"_s, {u"Dall'Acqua"_s}).toInt(), 1);
}

void TstRptFilter::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
    m_dlg = std::make_unique<TfmVtRptFilter>();
    m_dlg->SetDefinition(u"EBC_ACBFL"_s, PupilsDefinition());
    m_dlg->SetFolder(Folder());
}

void TstRptFilter::cleanup()
{
    m_dlg.reset();
    m_msg.reset();
}

void TstRptFilter::cleanupTestCase()
{
    m_db.reset();
}

QString TstRptFilter::Folder() const
{
    return QDir(TTestDatabase::WorkDir()).filePath(u"filtri_%1"_s.arg(QString::fromLatin1(QTest::currentTestFunction())));
}

int TstRptFilter::AddRow(const QString &field, const QString &op)
{
    m_dlg->buAdd->click();
    const int row = m_dlg->RowCount() - 1;
    QComboBox *fields = m_dlg->FieldBox(row);
    fields->setCurrentIndex(fields->findText(field));
    QComboBox *ops = m_dlg->OperatorBox(row);
    ops->setCurrentIndex(ops->findText(op));
    if (fields->currentText() != field || ops->currentText() != op)
        qFatal("no field %s or operator %s", qPrintable(field), qPrintable(op));
    return row;
}

void TstRptFilter::TypeValue(int row, const QString &text)
{
    auto *edit = qobject_cast<QLineEdit *>(m_dlg->ValueEditor(row));
    QVERIFY(edit);
    edit->clear();
    QTest::keyClicks(edit, text);
    QCOMPARE(edit->text(), text);
}

void TstRptFilter::ChooseValue(int row, const QString &caption)
{
    auto *values = qobject_cast<QComboBox *>(m_dlg->ValueEditor(row));
    QVERIFY(values);
    values->setCurrentIndex(values->findText(caption));
    QCOMPARE(values->currentText(), caption);
}

bool TstRptFilter::PressOk()
{
    m_dlg->setResult(0);
    m_dlg->show();
    QTest::mouseClick(m_dlg->buOk, Qt::LeftButton);
    return !m_dlg->isVisible() && m_dlg->ModalResult() == mrOk;
}

int TstRptFilter::Count(const QString &select, const QString &condition)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    const bool ran = q.exec(select + condition) && q.next();
    [&] { QVERIFY2(ran, qPrintable(q.lastError().text() + u"\n"_s + condition)); }();
    return ran ? q.value(0).toInt() : -1;
}

void TstRptFilter::opensWithItsControls()
{
    QCOMPARE(m_dlg->windowTitle(), u"Filtro"_s);
    QCOMPARE(m_dlg->rbAll->text(), u"&Tutte le condizioni"_s);
    QCOMPARE(m_dlg->rbAny->text(), u"Al&meno una condizione"_s);
    QVERIFY(m_dlg->rbAll->isChecked());
    QStringList titles;
    for (int c = 0; c < m_dlg->grConditions->columnCount(); ++c)
        titles << m_dlg->grConditions->horizontalHeaderItem(c)->text();
    QCOMPARE(titles, QStringList({u"Campo"_s, u"Operatore"_s, u"Valore"_s}));
    QStringList buttons;
    for (QPushButton *b : {m_dlg->buAdd, m_dlg->buRemove, m_dlg->buOpen, m_dlg->buSave, m_dlg->buOk, m_dlg->buCancel})
        buttons << b->text();
    QCOMPARE(buttons, QStringList({u"&Aggiungi"_s, u"&Rimuovi"_s, u"A&pri..."_s, u"&Salva..."_s, u"OK"_s, u"Annulla"_s}));
    QCOMPARE(m_dlg->RowCount(), 0);
    QVERIFY(m_dlg->buAdd->isEnabled());
    QVERIFY(!m_dlg->buRemove->isEnabled());
    // No row, no condition.
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), QString());
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstRptFilter::editorsFollowTheField()
{
    m_dlg->buAdd->click();
    QCOMPARE(m_dlg->RowCount(), 1);
    QVERIFY(m_dlg->buRemove->isEnabled());
    QCOMPARE(Items(m_dlg->FieldBox(0)), QStringList({u"Cognome alunno"_s, u"Nome alunno"_s, u"Classe"_s, u"Anno di corso"_s,
                                                     u"Sezione"_s, u"Indirizzo"_s, u"Sede"_s}));
    QCOMPARE(m_dlg->FieldBox(0)->currentText(), u"Cognome alunno"_s);
    QCOMPARE(Items(m_dlg->OperatorBox(0)),
             QStringList({u"uguale a"_s, u"diverso da"_s, u"inizia con"_s, u"contiene"_s, u"è vuoto"_s}));
    QVERIFY(qobject_cast<QLineEdit *>(m_dlg->ValueEditor(0)));
    TypeValue(0, u"Rossi"_s);
    // "è vuoto" takes no value.
    m_dlg->OperatorBox(0)->setCurrentIndex(4);
    QVERIFY(!m_dlg->ValueEditor(0)->isEnabled());
    QCOMPARE(qobject_cast<QLineEdit *>(m_dlg->ValueEditor(0))->text(), QString());
    m_dlg->OperatorBox(0)->setCurrentIndex(0);
    QVERIFY(m_dlg->ValueEditor(0)->isEnabled());
    // An enum: its two operators and its values in a list.
    m_dlg->FieldBox(0)->setCurrentIndex(3);
    QCOMPARE(Items(m_dlg->OperatorBox(0)), QStringList({u"uguale a"_s, u"diverso da"_s}));
    auto *values = qobject_cast<QComboBox *>(m_dlg->ValueEditor(0));
    QVERIFY(values);
    QCOMPARE(Items(values), QStringList({u"Prima"_s, u"Seconda"_s, u"Terza"_s, u"Quarta"_s, u"Quinta"_s}));
    // Integers and dates: the six comparisons, in a line edit.
    m_dlg->SetDefinition(u"PROVA"_s, OwnDefinition);
    QCOMPARE(m_dlg->RowCount(), 0);
    const QStringList comparisons = {u"uguale a"_s, u"diverso da"_s, u"minore di"_s, u"minore o uguale a"_s,
                                     u"maggiore di"_s, u"maggiore o uguale a"_s};
    const int number = AddRow(u"Codice"_s, u"uguale a"_s);
    QCOMPARE(Items(m_dlg->OperatorBox(number)), comparisons);
    QVERIFY(qobject_cast<QLineEdit *>(m_dlg->ValueEditor(number)));
    const int date = AddRow(u"Data di nascita"_s, u"minore di"_s);
    QCOMPARE(Items(m_dlg->OperatorBox(date)), comparisons);
    QCOMPARE(qobject_cast<QLineEdit *>(m_dlg->ValueEditor(date))->placeholderText(), u"gg/mm/aaaa"_s);
}

void TstRptFilter::quotedSurnameFindsThePupil()
{
    TypeValue(AddRow(u"Cognome alunno"_s, u"uguale a"_s), u"Dall'Acqua"_s);
    TypeValue(AddRow(u"Cognome alunno"_s, u"contiene"_s), u"DALL'ACQUA"_s);
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(TAna.sAnaCognome = 'Dall''Acqua') AND (TAna.sAnaCognome CONTAINING 'DALL''ACQUA')"_s);
    QCOMPARE(Count(u"SELECT COUNT(*) FROM TAna_Anagrafiche TAna WHERE "_s, m_dlg->Condition()), 1);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iAnaId FROM TAna_Anagrafiche TAna WHERE "_s + m_dlg->Condition()).toInt(),
             m_dangelo);
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstRptFilter::enumValuesComeFromTheDefinition()
{
    const TVtRptFilterDef &def = m_dlg->Definition();
    int enums = 0;
    for (const TVtRptFilterDef::TField &f : def.Fields()) {
        if (f.Type != TVtRptFilterDef::ftEnum)
            continue;
        ++enums;
        QVERIFY2(!m_dlg->Values(f.Name).isEmpty(), qPrintable(f.Name));
        QCOMPARE(m_dlg->Values(f.Name), Pairs(f.ValuesQuery));
    }
    QCOMPARE(enums, 4);
    const int year = AddRow(u"Anno di corso"_s, u"uguale a"_s);
    ChooseValue(year, u"Seconda"_s);
    const int section = AddRow(u"Sezione"_s, u"diverso da"_s);
    const auto sections = m_dlg->Values(u"VCls.iSezId"_s);
    ChooseValue(section, sections.first().second);
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(VCls.iAcsId = 2) AND (VCls.iSezId <> %1)"_s.arg(sections.first().first));
    const int expected = TTestDatabase::Scalar(PupilSelect + u"VCls.iAcsId = ? AND VCls.iSezId <> ?"_s,
                                               {2, sections.first().first.toInt()}).toInt();
    QVERIFY(expected > 0);
    QCOMPARE(Count(PupilSelect, m_dlg->Condition()), expected);
}

void TstRptFilter::ownDefinitionOffersOnlyWhatItCan()
{
    const int people = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAna_Anagrafiche"_s).toInt();
    m_dlg->SetDefinition(u"PROVA"_s, OwnDefinition);
    // Names that are no column names are not offered.
    m_dlg->buAdd->click();
    QCOMPARE(Items(m_dlg->FieldBox(0)), QStringList({u"Cognome"_s, u"Codice"_s, u"Data di nascita"_s,
                                                     u"Tabella assente"_s, u"Cancellazione"_s, u"Una colonna"_s}));
    m_dlg->RemoveRow(0);
    // A values select that fails, or is no select, leaves its list empty.
    for (const QString &name : {u"TAna.iRotto"_s, u"TAna.iCanc"_s, u"TAna.iUna"_s})
        QVERIFY2(m_dlg->Values(name).isEmpty(), qPrintable(name));
    // Not a select: never run.
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAna_Anagrafiche"_s).toInt(), people);
    const int row = AddRow(u"Tabella assente"_s, u"uguale a"_s);
    QCOMPARE(qobject_cast<QComboBox *>(m_dlg->ValueEditor(row))->count(), 0);
    QVERIFY(!PressOk());
    QCOMPARE((*m_msg)->Texts(), QStringList({u"Il valore di \"Tabella assente\" deve essere un numero intero."_s}));
    QCOMPARE((*m_msg)->Messages.last().Type, mtError);
    QVERIFY(m_dlg->isVisible());
}

void TstRptFilter::valuesAreChecked()
{
    m_dlg->SetDefinition(u"PROVA"_s, OwnDefinition);
    const int row = AddRow(u"Codice"_s, u"maggiore di"_s);
    TypeValue(row, u"12a"_s);
    QVERIFY(!PressOk());
    QCOMPARE((*m_msg)->Texts(), QStringList({u"Il valore di \"Codice\" deve essere un numero intero."_s}));
    QCOMPARE((*m_msg)->Messages.last().Type, mtError);
    QCOMPARE((*m_msg)->Messages.last().Buttons, TVtMsgDlgButtons(mbOK));
    QVERIFY(m_dlg->isVisible());
    QCOMPARE(m_dlg->Condition(), QString());
    TypeValue(row, u"12"_s);
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(TAna.iAnaId > 12)"_s);
    // A date in the form gg/mm/aaaa, written month first.
    m_dlg->RemoveRow(row);
    const int date = AddRow(u"Data di nascita"_s, u"uguale a"_s);
    TypeValue(date, u"31/02/2017"_s);
    QVERIFY(!PressOk());
    QCOMPARE((*m_msg)->LastText(), u"Il valore di \"Data di nascita\" deve essere una data."_s);
    QCOMPARE((*m_msg)->Messages.last().Type, mtError);
    TypeValue(date, u"10/03/2017"_s);
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(TAna.dAnaNascita = '03/10/2017')"_s);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iAnaId FROM TAna_Anagrafiche TAna WHERE "_s + m_dlg->Condition()).toInt(),
             m_dangelo);
    QCOMPARE((*m_msg)->Messages.size(), 2);
}

void TstRptFilter::joinAndRemove()
{
    TypeValue(AddRow(u"Cognome alunno"_s, u"inizia con"_s), u"Ro"_s);
    TypeValue(AddRow(u"Nome alunno"_s, u"uguale a"_s), u"Emma"_s);
    AddRow(u"Classe"_s, u"è vuoto"_s);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    // The row whose editor has the focus is the one removed.
    m_dlg->ValueEditor(1)->setFocus();
    QTRY_COMPARE(m_dlg->grConditions->currentRow(), 1);
    QTest::mouseClick(m_dlg->buRemove, Qt::LeftButton);
    QCOMPARE(m_dlg->RowCount(), 2);
    QCOMPARE(m_dlg->FieldBox(1)->currentText(), u"Classe"_s);
    QTest::mouseClick(m_dlg->rbAny, Qt::LeftButton);
    QVERIFY(m_dlg->rbAny->isChecked());
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(TAna.sAnaCognome STARTING WITH 'Ro') OR (VCls.sClsSDesc IS NULL OR VCls.sClsSDesc = '')"_s);
    QCOMPARE(Count(PupilSelect, m_dlg->Condition()),
             TTestDatabase::Scalar(PupilSelect + u"TAna.sAnaCognome STARTING WITH ? OR VCls.sClsSDesc IS NULL OR "
                                                 "VCls.sClsSDesc = ''"_s, {u"Ro"_s}).toInt());
    m_dlg->RemoveRow(0);
    m_dlg->RemoveRow(0);
    QVERIFY(!m_dlg->buRemove->isEnabled());
}

void TstRptFilter::rowsStayBetweenOpenings()
{
    bool answered = false;
    QTimer::singleShot(0, this, [&] {
        AddRow(u"Cognome alunno"_s, u"uguale a"_s);
        qobject_cast<QLineEdit *>(m_dlg->ValueEditor(0))->setText(u"Rossi"_s);
        answered = QApplication::activeModalWidget() == m_dlg.get();
        m_dlg->buOk->click();
    });
    QVERIFY(m_dlg->Execute());
    QVERIFY(answered);
    QCOMPARE(m_dlg->Condition(), u"(TAna.sAnaCognome = 'Rossi')"_s);
    // Opened again: the rows are there; Annulla brings them back as they were.
    int rowsShown = 0;
    QTimer::singleShot(0, this, [&] {
        rowsShown = m_dlg->RowCount();
        qobject_cast<QLineEdit *>(m_dlg->ValueEditor(0))->setText(u"Bianchi"_s);
        AddRow(u"Classe"_s, u"è vuoto"_s);
        m_dlg->rbAny->setChecked(true);
        m_dlg->buCancel->click();
    });
    QVERIFY(!m_dlg->Execute());
    QCOMPARE(rowsShown, 1);
    QCOMPARE(Rows(m_dlg->Filter()), u"AND: TAna.sAnaCognome eq Rossi"_s);
    QCOMPARE(m_dlg->Condition(), u"(TAna.sAnaCognome = 'Rossi')"_s);
    // Its user sets the same definition before each opening: the rows stay.
    m_dlg->SetDefinition(u"EBC_ACBFL"_s, PupilsDefinition());
    QCOMPARE(Rows(m_dlg->Filter()), u"AND: TAna.sAnaCognome eq Rossi"_s);
}

void TstRptFilter::anotherDefinitionStartsAnew()
{
    TypeValue(AddRow(u"Cognome alunno"_s, u"uguale a"_s), u"Rossi"_s);
    QVERIFY(PressOk());
    const QString slips =
        TTestDatabase::Scalar(u"SELECT bYXarXmlFile FROM TYXar_XmlArchivio WHERE sYXarCodice = 'EBT_ALUFLT'"_s).toString();
    m_dlg->SetDefinition(u"EBT_ALUFLT"_s, slips);
    QCOMPARE(m_dlg->RowCount(), 0);
    QCOMPARE(m_dlg->Condition(), QString());
    m_dlg->buAdd->click();
    QCOMPARE(Items(m_dlg->FieldBox(0)), QStringList({u"Cognome"_s, u"Nome"_s, u"Classe"_s, u"Codice anagrafico"_s}));
    // What is not a filter definition is refused; the one in use stays.
    try {
        m_dlg->SetDefinition(u"EBC_ROTTO"_s, u"<Filter><Fields>"_s);
        QFAIL("definition taken");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"La definizione del filtro \"EBC_ROTTO\" non è valida."_s);
    }
    QCOMPARE(m_dlg->Definition().Code(), u"EBT_ALUFLT"_s);
    QCOMPARE(m_dlg->RowCount(), 1);
}

void TstRptFilter::saveAndReopen()
{
    // The folder of the saved filters is made when missing.
    const QString folder = QDir(Folder()).filePath(u"usr/ebc/filter"_s);
    QVERIFY(!QDir(folder).exists());
    m_dlg->SetFolder(folder);
    QVERIFY(QDir(folder).exists());
    QCOMPARE(m_dlg->Folder(), folder);
    TypeValue(AddRow(u"Cognome alunno"_s, u"contiene"_s), u"Dall'Acqua"_s);
    ChooseValue(AddRow(u"Anno di corso"_s, u"diverso da"_s), u"Terza"_s);
    AddRow(u"Classe"_s, u"è vuoto"_s);
    m_dlg->rbAny->setChecked(true);
    const QString saved = Rows(m_dlg->Filter());
    QVERIFY(PressOk());
    const QString condition = m_dlg->Condition();
    QCOMPARE(condition, u"(TAna.sAnaCognome CONTAINING 'Dall''Acqua') OR (VCls.iAcsId <> 3) OR "
                        "(VCls.sClsSDesc IS NULL OR VCls.sClsSDesc = '')"_s);
    (*m_msg)->SaveNames << QDir(Folder()).filePath(u"Miei alunni"_s);
    QTest::mouseClick(m_dlg->buSave, Qt::LeftButton);
    const QString file = QDir(Folder()).filePath(u"Miei alunni.xml"_s);
    QVERIFY(QFile::exists(file));
    QFile read(file);
    QVERIFY(read.open(QIODevice::ReadOnly));
    const QByteArray text = read.readAll();
    QVERIFY(text.contains(R"(Definition="EBC_ACBFL")"));
    QVERIFY(!text.contains("CONTAINING"));
    QVERIFY(!text.contains("<>"));
    // Emptied, then opened from the file.
    m_dlg->RemoveRow(0);
    m_dlg->RemoveRow(0);
    m_dlg->rbAll->setChecked(true);
    (*m_msg)->OpenNames << file;
    QTest::mouseClick(m_dlg->buOpen, Qt::LeftButton);
    QCOMPARE(Rows(m_dlg->Filter()), saved);
    QCOMPARE(qobject_cast<QComboBox *>(m_dlg->ValueEditor(1))->currentText(), u"Terza"_s);
    QVERIFY(!m_dlg->ValueEditor(2)->isEnabled());
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), condition);
    QVERIFY((*m_msg)->Messages.isEmpty());
    // Nothing chosen: nothing saved or opened.
    QVERIFY(!m_dlg->SaveFilter());
    QVERIFY(!m_dlg->OpenFilter());
    QCOMPARE(Rows(m_dlg->Filter()), saved);
    QCOMPARE(QDir(Folder()).entryList(QDir::Files), QStringList({u"Miei alunni.xml"_s}));
}

void TstRptFilter::shippedFilterLoads()
{
    (*m_msg)->OpenNames << QStringLiteral(VARDELLA_SOURCE_DIR "/usr/ebc/filter/Classi prime.xml");
    QTest::mouseClick(m_dlg->buOpen, Qt::LeftButton);
    QVERIFY((*m_msg)->Messages.isEmpty());
    QCOMPARE(m_dlg->RowCount(), 1);
    QCOMPARE(m_dlg->FieldBox(0)->currentText(), u"Anno di corso"_s);
    QCOMPARE(m_dlg->OperatorBox(0)->currentText(), u"uguale a"_s);
    QCOMPARE(qobject_cast<QComboBox *>(m_dlg->ValueEditor(0))->currentText(), u"Prima"_s);
    QVERIFY(m_dlg->rbAll->isChecked());
    QVERIFY(PressOk());
    QCOMPARE(m_dlg->Condition(), u"(VCls.iAcsId = 1)"_s);
    const int firstYear = TTestDatabase::Scalar(PupilSelect + u"VCls.iAcsId = ?"_s, {1}).toInt();
    QVERIFY(firstYear > 0);
    QCOMPARE(Count(PupilSelect, m_dlg->Condition()), firstYear);
}

void TstRptFilter::tamperedFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("xml");
    const auto saved = [](const QByteArray &code, const QByteArray &field, const QByteArray &op) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SavedFilter Definition=\"" + code + "\" Join=\"AND\">\n"
               "  <Condition Field=\"" + field + "\" Operator=\"" + op + "\" Value=\"1\"/>\n</SavedFilter>\n";
    };
    QTest::newRow("campo sconosciuto") << saved("EBC_ACBFL", "TAna.sAnaCodFiscale", "eq");
    QTest::newRow("campo con SQL") << saved("EBC_ACBFL", "1=1) OR (VCls.iAcsId", "eq");
    QTest::newRow("operatore sconosciuto") << saved("EBC_ACBFL", "VCls.iAcsId", "like");
    QTest::newRow("operatore di un altro tipo") << saved("EBC_ACBFL", "VCls.iAcsId", "starts");
    QTest::newRow("altra definizione") << saved("EBT_ALUFLT", "VCls.iAcsId", "eq");
    QTest::newRow("unione sconosciuta") << saved("EBC_ACBFL", "VCls.iAcsId", "eq").replace("\"AND\"", "\"XOR\"");
    QTest::newRow("elemento in più") << saved("EBC_ACBFL", "VCls.iAcsId", "eq").replace("</SavedFilter>", "<Sql>1=1</Sql></SavedFilter>");
    QTest::newRow("XML rotto") << saved("EBC_ACBFL", "VCls.iAcsId", "eq").replace("</SavedFilter>", "</Saved");
}

void TstRptFilter::tamperedFilesAreRefused()
{
    QFETCH(QByteArray, xml);
    TypeValue(AddRow(u"Cognome alunno"_s, u"inizia con"_s), u"Ro"_s);
    m_dlg->rbAny->setChecked(true);
    const QString shown = Rows(m_dlg->Filter());
    const QString file = QDir(Folder()).filePath(u"Manomesso.xml"_s);
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(xml);
    out.close();
    (*m_msg)->OpenNames << file;
    QTest::mouseClick(m_dlg->buOpen, Qt::LeftButton);
    QCOMPARE((*m_msg)->Texts(), QStringList({InvalidSaved}));
    QCOMPARE((*m_msg)->Messages.last().Type, mtError);
    QCOMPARE(m_dlg->RowCount(), 1);
    QCOMPARE(Rows(m_dlg->Filter()), shown);
    QCOMPARE(m_dlg->FieldBox(0)->currentText(), u"Cognome alunno"_s);
}

void TstRptFilter::screenshot()
{
    QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(1600, 1000));
    TypeValue(AddRow(u"Cognome alunno"_s, u"contiene"_s), u"Dall'Acqua"_s);
    ChooseValue(AddRow(u"Anno di corso"_s, u"uguale a"_s), u"Prima"_s);
    m_dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    QTest::qWait(20);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(m_dlg->grab().save(dir.filePath(u"filtro.png"_s)));
    QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(m_dlg->frameGeometry()));
    CheckNothingCut(m_dlg.get());
    // The choices of each row are shown whole.
    for (QComboBox *box : m_dlg->findChildren<QComboBox *>())
        QVERIFY2(box->fontMetrics().horizontalAdvance(box->currentText()) + 24 <= box->width(), qPrintable(box->currentText()));
    for (int r = 0; r < m_dlg->RowCount(); ++r)
        QVERIFY(m_dlg->grConditions->rowHeight(r) >= m_dlg->FieldBox(r)->sizeHint().height());
}

QTEST_MAIN(TstRptFilter)
#include "tst_rptfilter.moc"
