#include "VtGridCsv.h"
#include "VtCsv.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"

#include <QDir>

QByteArray VtGridCsv(const TVtDBGrid &grid, int *rows, const QList<TVtGridColumn> &more)
{
    TVtQueryCollection *data = grid.DataSource() ? grid.DataSource()->DataSet() : nullptr;
    QList<TVtCsvColumn> columns;
    QList<int> fields;
    if (data) {
        QVector<TVtGridColumn> declared = grid.Columns();
        if (declared.isEmpty())   // the grid shows every visible field
            for (int i = 0; i < data->FieldCount(); ++i)
                if (data->Fields(i)->Visible)
                    declared << TVtGridColumn{data->Fields(i)->FieldName, QString(), 0};
        declared += more;
        for (const TVtGridColumn &c : declared) {
            const TVtField *f = data->FindField(c.FieldName);
            if (!f)
                continue;
            const int decimals = VtFormatDecimals(f->DisplayFormat);
            columns << TVtCsvColumn{c.Title.isEmpty() ? f->Title() : c.Title, f->DataType, decimals < 0 ? 2 : decimals};
            fields << f->Index;
        }
    }
    QList<QVariantList> lines;
    const int count = data ? grid.model()->rowCount() : 0;
    for (int view = 0; view < count; ++view) {
        const int row = grid.DataSetRow(view);
        QVariantList values;
        for (int index : fields)
            values << data->RowValue(row, index);
        lines << values;
    }
    if (rows)
        *rows = int(lines.size());
    return VtCsvDocument(columns, lines);
}

bool VtExportGridCsv(const TVtDBGrid &grid, const QString &proposedName, const QList<TVtGridColumn> &more)
{
    const QString file = VtMessageService().SaveFileName(QStringLiteral("Esporta in CSV"), proposedName,
                                                         QStringLiteral("File CSV (*.csv)"));
    if (file.isEmpty())
        return false;
    int rows = 0;
    const QByteArray bytes = VtGridCsv(grid, &rows, more);
    QString error;
    if (!VtSaveFileAtomically(file, bytes, &error)) {
        VtMessageDlg(QStringLiteral("Impossibile esportare il file %1:\r\n%2").arg(QDir::toNativeSeparators(file), error),
                     mtError, mbOK);
        return false;
    }
    VtMessageDlg(QStringLiteral("Esportate %1 righe nel file %2").arg(rows).arg(QDir::toNativeSeparators(file)),
                 mtInformation, mbOK);
    return true;
}
