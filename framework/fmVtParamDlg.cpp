#include "fmVtParamDlg.h"
#include "VtParamManager.h"
#include "VtXMLParam.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TfmVtParamDlg::TfmVtParamDlg(TVtParamManager *manager, QWidget *parent)
    : QDialog(parent), m_manager(manager)
{
    setObjectName(QStringLiteral("fmVtParamDlg"));
    setWindowTitle(QStringLiteral("Parametri"));
    auto *layout = new QVBoxLayout(this);
    pcParams = new QTabWidget(this);
    pcParams->setObjectName(QStringLiteral("pcParams"));
    layout->addWidget(pcParams, 1);
    auto *box = new QDialogButtonBox(this);
    buOk = box->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buOk->setObjectName(QStringLiteral("buOk"));
    buOk->setDefault(true);
    buCancel = box->addButton(QStringLiteral("Annulla"), QDialogButtonBox::RejectRole);
    buCancel->setObjectName(QStringLiteral("buCancel"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
    setMinimumWidth(520);
}

QWidget *TfmVtParamDlg::CategoryPage(const QString &category, const QString &caption)
{
    const QString key = category.toUpper();
    if (QWidget *page = m_pages.value(key))
        return page;
    auto *page = new QWidget;
    page->setObjectName(category);
    auto *outer = new QVBoxLayout(page);
    auto *form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    outer->addLayout(form);
    outer->addStretch(1);
    pcParams->addTab(page, caption.isEmpty() ? category : caption);
    m_pages.insert(key, page);
    m_layouts.insert(key, form);
    m_categoryOrder << category;
    return page;
}

void TfmVtParamDlg::AddRow(TVtXMLParam *param, QWidget *control)
{
    CategoryPage(param->Category, m_manager ? m_manager->CategoryCaption(param->Category) : param->Category);
    QFormLayout *form = m_layouts.value(param->Category.toUpper());
    auto *label = new QLabel(param->Caption);
    label->setBuddy(control);
    form->addRow(label, control);
    m_controls.insert(param->Name.toUpper(), control);
    m_labels.insert(param->Name.toUpper(), label);
}

QWidget *TfmVtParamDlg::Control(const QString &paramName) const
{
    return m_controls.value(paramName.toUpper());
}

QLabel *TfmVtParamDlg::CaptionLabel(const QString &paramName) const
{
    return m_labels.value(paramName.toUpper());
}

QWidget *TfmVtParamDlg::Page(const QString &category) const
{
    return m_pages.value(category.toUpper());
}
