#pragma once

#include <QString>
#include <QStringView>

// The program's one natural, case-insensitive order: runs of decimal digits compare by their
// numeric value (so "clip2" < "clip10"), everything else by case-folded UTF-16 code unit. Texts
// that differ only in leading zeros or in digit script still get a fixed order, so the result
// is 0 only for texts that are equal ignoring case. Results are -1, 0 or 1.
int NaturalCompare(const QString& a, const QString& b);

// For sorting many texts: make each one's key once with NaturalSortKey, then compare the keys.
QString NaturalSortKey(const QString& text);
// The same key appended to a buffer of many keys, without a text of its own.
void AppendNaturalSortKey(QString& keys, QStringView text);
// Keys order as their texts do under NaturalCompare; keys are compared as plain code units.
int NaturalCompareKeys(QStringView keyA, QStringView keyB);
