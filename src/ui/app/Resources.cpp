#include "app/Resources.h"

#include <QtGlobal>

static void InitOnce() { Q_INIT_RESOURCE(quillbox); }

void InitQuillboxResources() {
    static const bool done = (InitOnce(), true);
    (void)done;
}
