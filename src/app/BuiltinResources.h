#pragma once

#include <QString>
#include <optional>

struct EditorContext;

// Loads the built-in resource `name` (any case) as text lines into
// context.AlgorithmImageText. On failure shows "Error loading resource: " and the
// reason, keeps the old lines and returns false.
bool LoadResourceLines(EditorContext& context, const QString& name);

// The resource name of an effect: " " and "-" become "_", "+" becomes "plus" and an
// upper-case "X" becomes "mult".
QString ResourceNameOf(const QString& effectName);

// The editor's own version, major.minor.
QString GetAppVersionText();

// The algorithm number of an effect list entry: the product name "Varkunda TZ5"
// (12 characters), then characters 13 to 17 read as a decimal number with leading
// blanks skipped ("Varkunda TZ5 0014" gives 14). nullopt when they are no number.
std::optional<unsigned> AlgorithmNumberOfEffectName(const QString& effectName);
