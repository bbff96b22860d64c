#include <QtGlobal>

// Makes sure the built-in resources are registered even when the linker would
// otherwise leave their object file out of a static link.
void varkundaInitBuiltinResources() { Q_INIT_RESOURCE(varkunda_builtin); }
