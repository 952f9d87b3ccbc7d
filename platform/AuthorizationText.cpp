#include "platform/Authorization.h"

namespace platform::authorization {

const char* describe(Answer answer)
{
    switch (answer) {
    case Answer::granted:
        return "an administrator's password was given";
    case Answer::refused:
        return "the system refused the administrator's right";
    case Answer::noPrompt:
        return "an administrator's password is needed and nothing could ask for it";
    case Answer::dismissed:
        return "the administrator's password was not given";
    case Answer::failed:
        break;
    }
    return "the system's authorisation could not be asked";
}

}  // namespace platform::authorization
