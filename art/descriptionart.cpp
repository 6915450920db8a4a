#include "artgen.h"

void generateDescriptionArt(const ArtOutput &out)
{
    Q_UNUSED(out);
}
