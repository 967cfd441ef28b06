#pragma once
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class TdmVtRptFR;
class TVtRptTreeView;

// The template designer: the template's XML in a text editor, beside it the
// datasets a template may read with their fields and the variables the
// program declares. "Anteprima" previews the text as it stands; "Salva"
// writes it into the customised copy being edited (a base template is never
// written); "Salva come copia..." makes a new copy of the base template.
class TfrDesigner : public QWidget
{
    Q_OBJECT
public:
    TfrDesigner(TdmVtRptFR *module, TVtRptTreeView *tree, QWidget *parent = nullptr);

    // Opens a template of the tree: a copy when imageIndex is 5.
    bool Edit(int id, int imageIndex);
    int EditedId() const { return m_id; }
    bool EditingCopy() const { return m_imageIndex == 5; }

    QPlainTextEdit *meTemplate;
    QTreeWidget *tvCampi;
    QPushButton *buAnteprima, *buSalva, *buSalvaCopia, *buChiudi;

    bool Preview();
    bool Save();
    // The new copy's id; 0 when none was made.
    int SaveAsCopy();
    // Asks the description of a new copy; empty when cancelled.
    std::function<QString(const QString &proposed)> AskDescription;

    // The id the next copy takes: the largest + 1, 1000000 for the first.
    static int NextCopyId();

private:
    bool Parses();
    void LoadFieldList();

    TdmVtRptFR *m_module;
    TVtRptTreeView *m_tree;
    int m_id = -1;
    int m_imageIndex = 4;
    int m_baseId = -1;
    QString m_description;
};
