// Checking an SDD request message against a schema with libxml2: by default
// the model schema built into the library, otherwise a schema file (the
// bank's own, say). The message is validated as it is read, without a
// document tree, so a message of many thousands of transactions stays
// small in memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The resource path of the built-in model schema.
QString CBISDDReqLogMsgModelSchema(); // ":/export/CBISDDReqLogMsg.model.xsd"

// Validates the message text against schemaFile, or against the built-in
// model schema when schemaFile is empty. Returns the validator's messages,
// each with its line ("Riga 12: Element '{urn:...}EndToEndId': ..."), at most
// maxMessages of them (no limit when maxMessages <= 0); an empty list means
// the message is valid. A document that is not well formed, or a schema
// that cannot be loaded, gives messages too. Nothing is printed.
QStringList ValidateCBISDDReqLogMsg(const QByteArray &xml, const QString &schemaFile = QString(),
                                    int maxMessages = 5);

// The same for a message file, read as it is validated.
QStringList ValidateCBISDDReqLogMsgFile(const QString &fileName, const QString &schemaFile = QString(),
                                        int maxMessages = 5);
