// Rewriting a saved file line by line through a side copy.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Changes one line in place (the line keeps its end-of-line bytes). Returns
// false, with the reason in errorText, to abandon the rewrite.
using TVtLineTransform = std::function<bool(QByteArray &line, QString *errorText)>;

// The suffix of the side copy made while a file is rewritten.
QString VtSideCopySuffix();

// Moves fileName to fileName + ".old" (deleting an earlier such file first),
// copies it back line by line through transform, then deletes the ".old".
// If a step fails, fileName is never left half-written: whatever was copied
// is discarded and the ".old" copy is moved back, and errorText tells why.
// A ".old" that cannot be deleted at the very end is left behind without
// failing the rewrite: the file itself is complete by then, and the next
// rewrite deletes it first.
bool VtRewriteFileLines(const QString &fileName, const TVtLineTransform &transform,
                        QString *errorText = nullptr);

// Deletes fileName + ".old" when present; false (with errorText) when it is
// there and cannot be deleted.
bool VtRemoveSideCopy(const QString &fileName, QString *errorText = nullptr);
