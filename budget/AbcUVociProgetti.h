#pragma once
#include <QDate>
#include <QString>
#include <QStringList>

// The budget's rules over aggregates, items and sub-items: which codes an
// item may take, what the next one is, and whether a budget model refers to
// an item or a sub-item (a model's references may be extended, never
// narrowed; those of a frozen model, whose approval is locked, keep their
// codes). The counts take the models of every data owner: a shared item
// that another school's frozen model refers to is frozen for everyone.

// The code is the prefix followed by a whole number ("A7" for "A"; not "A",
// "B7" or "A7x").
bool CodeMatchesPrefix(const QString &code, const QString &prefix);
// The code proposed after the given codes of an aggregate with the prefix:
// with a numeric prefix the highest numeric code + 1 in two digits; else the
// prefix + 1 + the highest number after the prefix, two digits below 100.
QString NextVproCodeAfter(const QString &prefix, const QStringList &codes);
// 1 + the highest numeric code in three digits; codes that are no number are skipped.
QString NextSvoCodeAfter(const QStringList &codes);

// The code DefaultVproCode proposes for an item of the aggregate (item -1
// when inserting): the codes of the aggregate's other items of the working
// owner or shared, not deleted, valid in the working financial year.
QString DefaultVproCode(int aggregate, int item);
QString NextSvoCode(int item);
// No other item of the aggregate, owner or shared, not deleted, has the
// code in the period (end null: open).
bool VproCodeIsFree(int item, int aggregate, const QString &code, const QDate &start, const QDate &end);

bool VproIsReferenced(int item);
bool VproIsFrozen(int item);
// The end of the last financial year a model of the item belongs to; null when none.
QDate VproMaxModelEnd(int item);
bool SvoIsReferenced(int subItem);
bool SvoIsFrozen(int subItem);
bool AggIsReferenced(int aggregate);
bool AggIsFrozen(int aggregate);
// 1 + the highest numeric code of the incoming aggregates, owner's or shared, "%2.2d".
QString NextAggCode();
