#pragma once
#include "VtDBControl.h"
#include "VtParams.h"

#include <QPointer>

class QLineEdit;
class QToolButton;
class TfmVtSearch;
class TVtQueryCollection;

// Lookup of a foreign key: the bound field holds the key, the control shows
// the ListField of the list row with that key, and the user chooses another
// row by typing (Enter or F2 searches) or through the search form (F2 on an
// unchanged text, or the "..." button).
//
// ListCommandText is a select with the marker "##WHERE##" where a condition
// may stand ("... WHERE ##WHERE## AND ...", "... WHERE (##WHERE## AND ...)").
// The marker is replaced by a complete, parenthesised condition:
//   listing every row (search form)  "(1 = 1)"
//   seeking a key (SeekByID, display) "(<KeyField> = :VTLKPKEY)"
//   searching a typed text            "(<ListField> CONTAINING :VTLKPTEXT)"
// KeyField and ListField are written as the select needs them in a condition
// ("TMpg.iMpgId"); the column read is the name after the last dot. A select
// without the marker is read whole and searched in memory.
//
// Typed text: one row found is taken at once; several open the search form
// with the text in its search box (unless exactly one row's ListField equals
// the text, which is taken); none leaves the message at the field. An empty
// text clears the key. Every accepted key goes through OnValidate, is written
// into the field and raises OnChangeFKValue; ListDataSet() is then on the
// chosen row, so the handler can read its other columns.
class TVtDBLookupEdit : public TVtDBControl
{
    Q_OBJECT
public:
    using TShowSearchForm = std::function<void(TVtDBLookupEdit *, TfmVtSearch *)>;
    using TSetSearchQuery = std::function<void(TVtDBLookupEdit *, QString &sql)>;
    using TChangeFKValue = TVtEvent<TVtDBLookupEdit *, const QVariant &>;

    explicit TVtDBLookupEdit(QWidget *parent = nullptr);
    ~TVtDBLookupEdit() override;

    QString ListCommandText;
    QString KeyField;
    QString ListField;
    // The column of the list that is shown, when the select names it by an
    // alias ("Tcc_P.sTccLDesc LDesc_P": ListField "Tcc_P.sTccLDesc",
    // ListColumn "LDESC_P"); the name after ListField's last dot when empty.
    QString ListColumn;
    // Registered class of the search form (see RegisterVtSearchForm).
    QString SearchFormClass = QStringLiteral("TfmVtSearch");

    // The search form as declared: its caption and width, and the columns it
    // shows in the order of the select (every column not declared is hidden).
    // Without declared columns the key is hidden and the shown field searched.
    struct TSearchColumn
    {
        QString FieldName, Title;
        int Width = 0;
        bool Indexed = false;
    };
    QString SearchCaption;
    int SearchWidth = 0;
    void SetSearchForm(const QString &caption, int width, const QVector<TSearchColumn> &columns);

    // Columns of the chosen list row copied into the fields of the same name
    // of the bound row whenever the key changes, and cleared with the key.
    void SetCopyFields(const QStringList &columns);
    // Clears the key and its copied fields without going through the
    // validation (a key that no longer applies); raises OnChangeFKValue.
    void ClearKey();

    // Given the search form before it shows, after the declared columns:
    // anything else to set on it.
    TShowSearchForm OnShowSearchForm;
    // May replace the select of the search form (by default ListCommandText listing every row).
    TSetSearchQuery OnSetSearchQuery;
    // The user (or SetKeyValue) changed the key; null when cleared.
    TChangeFKValue OnChangeFKValue;

    // Parameters of ListCommandText besides the framework's own.
    TVtParams &ListParams();
    // The list rows of the last seek or search; its current row is the shown key.
    TVtQueryCollection *ListDataSet() const { return m_list; }
    // The search form, created on first use from SearchFormClass.
    TfmVtSearch *SearchForm();

    // ListCommandText with the marker replaced by a condition.
    static QString ListSql(const QString &listCommandText, const QString &condition);
    QString KeyCondition() const;
    QString TextCondition() const;
    QString AllCondition() const { return QStringLiteral("(1 = 1)"); }

    // Shows the list row of a key (without writing the field); false when no row has it.
    bool SeekByID(const QVariant &id);
    // Runs the list again for the shown key (after ListCommandText changed); false when gone.
    bool RefreshList();

    // The field's key (null when none).
    QVariant KeyValue() const;
    QString Text() const;
    QLineEdit *LineEdit() const { return m_edit; }
    QToolButton *SearchButton() const { return m_button; }
    // Types a text as the user would (still to be searched: Enter, F2 or CommitPending).
    void SetText(const QString &text);

    // Chooses a key as the user would: validation, field, OnChangeFKValue.
    // False when refused or when no list row has the key.
    bool SetKeyValue(const QVariant &id);
    // Searches the typed text; true when a key was taken (or cleared) or the
    // user closed the search form with Annulla (the key stays as it was).
    bool Search();
    // Opens the search form with a text in its search box; true when a row was chosen.
    bool ShowSearchForm(const QString &text = QString());

    bool CommitPending() override;

protected:
    bool EditorValue(QVariant &value, QString &message) const override;
    void LoadEditor(const QVariant &value) override;
    void ApplyReadOnly(bool readOnly) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OpenList(const QString &condition);
    QString ColumnName(const QString &name) const;
    QVariant ListKey() const;
    QString ListText() const;
    bool TakeListRow();
    bool ChooseKey(const QVariant &key);
    void CopyListFields(bool clear);
    void ApplySearchColumns(TfmVtSearch *form) const;

    QVector<TSearchColumn> m_searchColumns;
    QStringList m_copyFields;

    QLineEdit *m_edit;
    QToolButton *m_button;
    TVtQueryCollection *m_list;
    QPointer<TfmVtSearch> m_searchForm;
    QString m_searchFormClass;
    QVariant m_shownKey;
    QString m_shownSql;
    bool m_searching = false;
};
