#pragma once
#include <QString>
#include <QStringList>

// Kind of control the parameter dialog builds for a parameter.
enum TVtParamKind { pkCombo, pkEdit, pkCheck };

// A parameter of the dialog: its definition and, while the dialog is open,
// its value text.
class TVtXMLParam
{
public:
    TVtXMLParam(const QString &name, const QString &category, const QString &caption, TVtParamKind kind)
        : Name(name), Category(category), Caption(caption), Kind(kind) {}

    QString Name;           // such as "VTUP_AnsId"
    QString Category;       // the dialog page it sits on
    QString Caption;        // label beside the control
    TVtParamKind Kind;
    QString ApplCode;       // application it belongs to; empty: every application
    QString DefaultValue;   // value text when nothing is saved
    QStringList Items;      // fixed items of a combo (its id is the item index)
    int Width = 0;          // control width in pixels; 0: the dialog's default
    bool Visible = true;    // a hidden parameter keeps its row but shows nothing
    QString Hint;

    // The value text: the saved text (or the default) when the dialog opens,
    // what is saved when it closes with OK. Combos: the chosen id in decimal.
    QString Value;
    bool Saved = false;     // a saved value was found when the dialog opened

    bool IsNamed(const QString &name) const { return Name.compare(name, Qt::CaseInsensitive) == 0; }
};
