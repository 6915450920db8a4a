#include "artgen.h"

void generateShellArt(const ArtOutput &out)
{
    Q_UNUSED(out);
}
