#pragma once

#include <QString>

// Natural, case-insensitive order: digit runs compare as numbers, so "clip2" < "clip10".
// Sorting many texts: compute NaturalSortKey once per text and compare the keys with
// NaturalCompareFolded; NaturalCompare does both for a single comparison.

// Negative, zero or positive as a sorts before, with or after b.
int NaturalCompare(const QString& a, const QString& b);

// A key that orders texts naturally by plain comparison of its characters: the case-folded
// text with every digit run replaced by a form that orders by value.
QString NaturalSortKey(const QString& text);

// NaturalCompare on keys made by NaturalSortKey (not on mere case-folded texts).
int NaturalCompareFolded(const QString& foldedA, const QString& foldedB);
