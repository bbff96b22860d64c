#pragma once

#include <QString>

struct EditorContext;

// The resource name of an effect: blanks and minus signs become underscores, "+"
// becomes "plus" and an upper-case "X" "mult" ("Varkunda TZ5 0014" gives
// "Varkunda_TZ5_0014").
QString ResourceNameOf(const QString& effectName);

// Loads the built-in effect image `resourceName` as text lines into the context's
// AlgorithmImageText. A missing resource is reported with "Error loading resource: "
// and leaves the lines as they were.
bool LoadEffectImage(EditorContext& context, const QString& resourceName);
