#pragma once

#include <QString>

// Natural, case-insensitive order: digit runs compare as numbers, so "clip2" < "clip10".
// Sorting many texts: compute NaturalSortKey once per text and compare the keys with
// NaturalCompareFolded; NaturalCompare does both for a single comparison.

// Negative, zero or positive as a sorts before, with or after b.
int NaturalCompare(const QString& a, const QString& b);

// The case-folded form that NaturalCompareFolded compares.
QString NaturalSortKey(const QString& text);

// NaturalCompare on texts already passed through NaturalSortKey.
int NaturalCompareFolded(const QString& foldedA, const QString& foldedB);
