#pragma once
#include "VtApgPage.h"
#include "VtOutlookBar.h"
#include "dmVtAttivazioni.h"

#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <functional>

class TVtAttForm;
class TVtSQLConnection;

// Command module of the people registry. Its one command, xafAnagrafica,
// opens the registry window "TfmModAnagrafica" (not modal, one instance)
// over the people of the admitted categories. The caller sets, before
// running the command:
//   xafAnagrafica's caption, image and help context: the window takes the
//     command's caption as its own;
//   AdmittedCategories: the registry categories (TCag_CategAna) whose people
//     the window lists (1 pupils, 2 parents/guardians, 3 staff, 6 adult
//     education); empty admits every category;
//   HiddenCategories: people who also belong to one of these categories are
//     left out of the list;
//   FilterSpecifics: one extra condition on the people's list, written as
//     "name=value" pairs separated by ';'. Known names:
//       AnsId  - only pupils enrolled (TSit_Situazioni) in that school year;
//       DwgId  - only pupils enrolled in a class of that data owner;
//       Cognome - only people whose surname starts with the value.
//     Values are bound as parameters, never written into the SQL text; an
//     unknown name or a non-numeric id is ignored;
//   OnGetFrameList: asked, when the window opens, for the detail tabs of the
//     first admitted category as (frame class, caption) pairs; each frame is
//     created by class name from the form registry.
// The window's detail frames are TfrVtDB frames whose collection (xdsMain)
// follows the person selected in the registry grid.
class TdmModAnaAtt : public TdmVtAttivazioni
{
    Q_OBJECT
public:
    explicit TdmModAnaAtt(QObject *owner = nullptr);
    ~TdmModAnaAtt() override;

    void SetConnection(TVtSQLConnection *conn);
    TVtSQLConnection *Connection() const;

    TVtAttForm *xafAnagrafica;

    QList<int> AdmittedCategories;
    QList<int> HiddenCategories;
    QString FilterSpecifics;
    std::function<void(int category, QList<QPair<QString, QString>> &frames)> OnGetFrameList;

private:
    QPointer<TVtSQLConnection> m_conn;
};

extern TdmModAnaAtt *dmModAnaAtt;
