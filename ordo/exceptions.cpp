#include "ordo/exceptions.h"

namespace ORDO {

void ThrowSyntaxError(const char* message)
{
    throw SyntaxException(message);
}

void ThrowRunTimeError(const char* message)
{
    throw RunTimeException(message);
}

} // namespace ORDO
