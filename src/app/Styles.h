#pragma once

#include <QPalette>
#include <QString>
#include <optional>

struct EditorContext;
class ResourceStore;

// The built-in looks: style sheets named Style_0 .. Style_7. A style sheet's leading
// comment may name palette colours, one per line as "palette <Role> #rrggbb", so
// widgets that paint themselves pick up the same colours as the sheet.
inline constexpr int kLookItemCount = 7;  // the Look menu offers Style_0 .. Style_6

QString StyleResourceName(int index);

// The palette a style sheet asks for; nullopt when it names no colours.
std::optional<QPalette> PaletteOfStyleSheet(const QString& styleSheet);

// Applies Style_<index> to every window at once. Returns false, changing nothing,
// when no such style exists.
bool ApplyStyle(const ResourceStore& resources, int index);

// The style saved in the maker folder's "style.txt", or Style_0 when there is none.
// Content that is not a whole number, or a number without a style, gives Style_0 and
// a console line.
void ApplySavedStyle(EditorContext& context);

// The style index last applied by ApplyStyle, nullopt before the first one.
std::optional<int> AppliedStyleIndex();
