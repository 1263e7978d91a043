#include "ordo/exceptions.h"

namespace ORDO {

void ThrowSyntaxError(std::string message)
{
    throw SyntaxException(std::move(message));
}

void ThrowRunTimeError(std::string message)
{
    throw RunTimeException(std::move(message));
}

} // namespace ORDO
