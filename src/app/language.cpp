#include "language.h"

#include "tfichaprincipal.h"

bool languageFlag()
{
    return fichaprincipal ? fichaprincipal->val->isEnabled() : true;
}
