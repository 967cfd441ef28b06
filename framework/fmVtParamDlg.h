#pragma once
#include <QDialog>
#include <QList>
#include <QMap>

class QDialogButtonBox;
class QFormLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class TVtParamManager;
class TVtXMLParam;

// The parameter dialog: one page per category, one row (caption and
// control) per parameter. Built and read back by TVtParamManager.
class TfmVtParamDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TfmVtParamDlg(TVtParamManager *manager, QWidget *parent = nullptr);

    TVtParamManager *Manager() const { return m_manager; }
    QTabWidget *pcParams;
    QPushButton *buOk;
    QPushButton *buCancel;

    // The page of a category, created on first use with its caption.
    QWidget *CategoryPage(const QString &category, const QString &caption);
    // Puts a parameter's control on its page under the caption label.
    void AddRow(TVtXMLParam *param, QWidget *control);

    QWidget *Control(const QString &paramName) const;
    QLabel *CaptionLabel(const QString &paramName) const;
    QStringList Categories() const { return m_categoryOrder; }
    QWidget *Page(const QString &category) const;

private:
    TVtParamManager *m_manager;
    QStringList m_categoryOrder;
    QMap<QString, QWidget *> m_pages;           // by upper-case category
    QMap<QString, QFormLayout *> m_layouts;
    QMap<QString, QWidget *> m_controls;        // by upper-case parameter name
    QMap<QString, QLabel *> m_labels;
};
