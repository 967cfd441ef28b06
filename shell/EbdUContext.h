#pragma once
// The working context, typed: the one place that names its parameters.
//
// Each part of the context is a whole number read from the parameter store
// (cached there, so reading it costs nothing after the first time). An id
// is unset when nothing is saved, the saved text is empty or not a whole
// number, or it is 0; the view mode is 0 unless a whole number is saved.

#include "dmVtuParams.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>

class TVtQueryCollection;

enum class TEbdCtx { DwgId, AnsId, AnfId, SprIstId, CauAnsId, Vis };

inline constexpr const char *PrmAnsId = VtuPrmAnsId;        // working school year
inline constexpr const char *PrmDwgId = VtuPrmDwgId;        // data-owner group
inline constexpr const char *PrmAnfId = "EBDP_AnfId";       // financial year (its id)
inline constexpr const char *PrmSprIstId = "EBDP_SprIstId"; // working account
inline constexpr const char *PrmCauAnsId = "EBSP_CauAnsId"; // school year of the reasons
inline constexpr const char *PrmVis = "EBDP_Vis";           // view mode

class TEbdContext
{
public:
    static QString Name(TEbdCtx part);
    // The value; nullopt when unset.
    static std::optional<int> Get(TEbdCtx part);
    static int GetOr0(TEbdCtx part) { return Get(part).value_or(0); }
    static bool IsSet(TEbdCtx part) { return Get(part).has_value(); }
    // The value as a query parameter: null when unset, so a select bound to
    // it lists nothing.
    static QVariant Bindable(TEbdCtx part);
    // "VTUP_DwgId,EBDP_SprIstId": the list CheckParamsSet takes.
    static QString Names(std::initializer_list<TEbdCtx> parts);
    // The part of the context a parameter name stands for; nullopt when the
    // name is none of them.
    static std::optional<TEbdCtx> FromName(const QString &name);
    // The collection's parameter takes the value each time it opens.
    static void Bind(TVtQueryCollection *collection, const QString &param, TEbdCtx part);
};
