#include "EbdUContext.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QStringList>

namespace {
const char *const PartNames[] = {PrmDwgId, PrmAnsId, PrmAnfId, PrmSprIstId, PrmCauAnsId, PrmVis};
}

QString TEbdContext::Name(TEbdCtx part)
{
    return QString::fromLatin1(PartNames[int(part)]);
}

std::optional<int> TEbdContext::Get(TEbdCtx part)
{
    if (!xgvmGlobalVar)
        return std::nullopt;
    const QVariant v = xgvmGlobalVar->GetValues(Name(part));
    if (v.isNull())
        return part == TEbdCtx::Vis ? std::optional<int>(0) : std::nullopt;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    if (part == TEbdCtx::Vis)
        return ok ? n : 0;
    if (!ok || n == 0)
        return std::nullopt;
    return n;
}

QVariant TEbdContext::Bindable(TEbdCtx part)
{
    const std::optional<int> v = Get(part);
    return v ? QVariant(*v) : QVariant(QMetaType(QMetaType::Int));
}

QString TEbdContext::Names(std::initializer_list<TEbdCtx> parts)
{
    QStringList list;
    for (TEbdCtx p : parts)
        list << Name(p);
    return list.join(QLatin1Char(','));
}

std::optional<TEbdCtx> TEbdContext::FromName(const QString &name)
{
    for (int i = 0; i < int(std::size(PartNames)); ++i)
        if (name.trimmed().compare(QLatin1String(PartNames[i]), Qt::CaseInsensitive) == 0)
            return TEbdCtx(i);
    return std::nullopt;
}

void TEbdContext::Bind(TVtQueryCollection *collection, const QString &param, TEbdCtx part)
{
    collection->BindParam(param, QMetaType::Int, [part] { return Bindable(part); });
}
