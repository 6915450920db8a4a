#include "artgen.h"

void generateDemoArt(const ArtOutput &out)
{
    Q_UNUSED(out);
}
