#include "VtParamManager.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtTransaction.h"
#include "fmVtMDIMain.h"
#include "fmVtParamDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
// Restores a flag when a scope ends, also on an exception.
class TFlagScope
{
public:
    explicit TFlagScope(bool &flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~TFlagScope() { m_flag = m_old; }

private:
    bool &m_flag;
    bool m_old;
};

bool IsTrueText(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    return t == QLatin1String("1") || t == QLatin1String("TRUE") || t == QLatin1String("S")
           || t == QLatin1String("SI") || t == QLatin1String("Y");
}
}

TVtParamManager::TVtParamManager(QObject *parent)
    : QObject(parent)
{
}

TVtParamManager::~TVtParamManager() = default;

TVtXMLParam *TVtParamManager::AddParam(const QString &name, const QString &category, const QString &caption,
                                       TVtParamKind kind, const QString &defaultValue, const QString &applCode)
{
    if (FindParam(name))
        throw EVtException(QStringLiteral("Parametro %1 già definito").arg(name));
    auto param = std::make_unique<TVtXMLParam>(name, category, caption, kind);
    param->DefaultValue = defaultValue;
    param->ApplCode = applCode;
    m_params.push_back(std::move(param));
    return m_params.back().get();
}

void TVtParamManager::AddCategory(const QString &category, const QString &caption)
{
    for (int i = 0; i < m_categories.size(); ++i) {
        if (m_categories[i].compare(category, Qt::CaseInsensitive) == 0) {
            m_categoryCaptions[i] = caption;
            return;
        }
    }
    m_categories << category;
    m_categoryCaptions << caption;
}

QString TVtParamManager::CategoryCaption(const QString &category) const
{
    for (int i = 0; i < m_categories.size(); ++i)
        if (m_categories[i].compare(category, Qt::CaseInsensitive) == 0)
            return m_categoryCaptions[i];
    return category;
}

TVtXMLParam *TVtParamManager::FindParam(const QString &name) const
{
    for (const auto &p : m_params)
        if (p->IsNamed(name))
            return p.get();
    return nullptr;
}

bool TVtParamManager::IsApplicable(const TVtXMLParam *param) const
{
    if (param->ApplCode.isEmpty() || ApplCodeList.isEmpty())
        return true;
    for (const QString &entry : ApplCodeList)
        if (entry.section(QLatin1Char('='), 0, 0).trimmed().compare(param->ApplCode, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

TfmVtParamDlg *TVtParamManager::Dialog() const
{
    return m_dialog.data();
}

QWidget *TVtParamManager::Control(const QString &name) const
{
    return m_dialog ? m_dialog->Control(name) : nullptr;
}

void TVtParamManager::LoadValue(TVtXMLParam *param) const
{
    const QVariant saved = xgvmGlobalVar->GetValues(param->Name);
    param->Saved = !saved.isNull();
    param->Value = param->Saved ? saved.toString() : param->DefaultValue;
}

void TVtParamManager::SaveParam(TVtXMLParam *param)
{
    xgvmGlobalVar->SetValues(param->Name, param->Value);
    param->Saved = true;
}

QWidget *TVtParamManager::CreateDefaultControl(TVtXMLParam *param)
{
    QWidget *ctrl = nullptr;
    switch (param->Kind) {
    case pkCombo: {
        auto *cb = new QComboBox;
        cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        cb->setMinimumContentsLength(20);
        ctrl = cb;
        break;
    }
    case pkEdit:
        ctrl = new QLineEdit;
        break;
    case pkCheck:
        ctrl = new QCheckBox;
        break;
    }
    ctrl->setObjectName(param->Name);
    if (param->Width > 0)
        ctrl->setFixedWidth(param->Width);
    if (!param->Hint.isEmpty())
        ctrl->setToolTip(param->Hint);
    return ctrl;
}

void TVtParamManager::DefaultFillList(QWidget *ctrl, TVtXMLParam *param)
{
    auto *cb = qobject_cast<QComboBox *>(ctrl);
    if (!cb || param->Items.isEmpty())
        return;
    cb->clear();
    for (int i = 0; i < param->Items.size(); ++i)
        cb->addItem(param->Items[i], i);
}

void TVtParamManager::DefaultRead(QWidget *ctrl, TVtXMLParam *param)
{
    if (auto *cb = qobject_cast<QComboBox *>(ctrl)) {
        int index = -1;
        for (int i = 0; i < cb->count(); ++i) {
            if (!cb->itemData(i).isNull() && cb->itemData(i).toString() == param->Value.trimmed()) {
                index = i;
                break;
            }
        }
        cb->setCurrentIndex(index);
    } else if (auto *ed = qobject_cast<QLineEdit *>(ctrl)) {
        ed->setText(param->Value);
    } else if (auto *ck = qobject_cast<QCheckBox *>(ctrl)) {
        ck->setChecked(IsTrueText(param->Value));
    }
}

void TVtParamManager::DefaultWrite(QWidget *ctrl, TVtXMLParam *param)
{
    if (auto *cb = qobject_cast<QComboBox *>(ctrl)) {
        const QVariant id = cb->currentIndex() >= 0 ? cb->currentData() : QVariant();
        param->Value = (id.isNull() || id.toString().isEmpty()) ? QStringLiteral("0") : id.toString();
    } else if (auto *ed = qobject_cast<QLineEdit *>(ctrl)) {
        param->Value = ed->text();
    } else if (auto *ck = qobject_cast<QCheckBox *>(ctrl)) {
        param->Value = ck->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    }
}

std::unique_ptr<TfmVtParamDlg> TVtParamManager::CreateDialog(QWidget *parent)
{
    if (!parent)
        parent = TfmVtMDIMain::Instance();
    auto dlg = std::make_unique<TfmVtParamDlg>(this, parent);
    dlg->setWindowTitle(Caption);
    m_dialog = dlg.get();
    TFlagScope loading(m_loading);

    // Pages in the order of the declared categories, then the others as met.
    for (int i = 0; i < m_categories.size(); ++i)
        for (const auto &p : m_params)
            if (IsApplicable(p.get()) && p->Category.compare(m_categories[i], Qt::CaseInsensitive) == 0) {
                dlg->CategoryPage(m_categories[i], m_categoryCaptions[i]);
                break;
            }

    QList<TVtXMLParam *> built;
    for (const auto &holder : m_params) {
        TVtXMLParam *p = holder.get();
        if (!IsApplicable(p))
            continue;
        LoadValue(p);
        QWidget *ctrl = nullptr;
        bool doDefault = true;
        if (BeforeCreateCtrl)
            BeforeCreateCtrl(ctrl, p, doDefault);
        if (doDefault && !ctrl)
            ctrl = CreateDefaultControl(p);
        if (!ctrl)
            continue;
        if (ctrl->objectName().isEmpty())
            ctrl->setObjectName(p->Name);
        dlg->AddRow(p, ctrl);
        if (!p->Visible)
            ctrl->hide();
        doDefault = true;
        if (AfterCreateCtrl)
            AfterCreateCtrl(ctrl, p, doDefault);
        if (QLabel *label = dlg->CaptionLabel(p->Name))
            label->setVisible(!ctrl->isHidden());
        built << p;
    }
    for (TVtXMLParam *p : built) {
        bool doDefault = true;
        QWidget *ctrl = dlg->Control(p->Name);
        if (FillListParam)
            FillListParam(ctrl, p, doDefault);
        if (doDefault)
            DefaultFillList(ctrl, p);
    }
    for (TVtXMLParam *p : built) {
        bool doDefault = true;
        QWidget *ctrl = dlg->Control(p->Name);
        if (ReadParam)
            ReadParam(ctrl, p, doDefault);
        if (doDefault)
            DefaultRead(ctrl, p);
    }
    return dlg;
}

void TVtParamManager::SaveDialog(TfmVtParamDlg *dialog)
{
    TVtTransaction tr;
    tr.StartTransaction();
    for (const auto &holder : m_params) {
        TVtXMLParam *p = holder.get();
        QWidget *ctrl = dialog->Control(p->Name);
        if (!ctrl)
            continue;
        bool doDefault = true;
        if (WriteParam)
            WriteParam(ctrl, p, doDefault);
        if (doDefault)
            DefaultWrite(ctrl, p);
        SaveParam(p);
    }
    tr.Commit();
}

bool TVtParamManager::Execute(QWidget *parent)
{
    std::unique_ptr<TfmVtParamDlg> dlg = CreateDialog(parent);
    if (OnShowDialog)
        OnShowDialog(dlg.get());
    bool saved = false;
    if (dlg->exec() == QDialog::Accepted) {
        SaveDialog(dlg.get());
        saved = true;
    }
    dlg.reset();
    return saved;
}
