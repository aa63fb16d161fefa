#include "widgets/PasswordPrompt.h"

#include "store/RingtalError.h"
#include "widgets/UiDialogs.h"

namespace {

constexpr int Tries = 3;

} // namespace

bool withPassword(const ServerLogin &login, const std::function<void()> &attempt)
{
    for (int asked = 0;; ++asked) {
        try {
            attempt();
            return true;
        } catch (const RingtalError &error) {
            if (error.number() != ErrorNumber::PasswordRequired || asked == Tries)
                throw;
            const std::optional<QString> password = UiDialogs::current().inputText(
                    error.description() + QStringLiteral("\nKennwort:"), QStringLiteral("Kennwort"), true);
            if (!password)
                return false;
            ServerPasswords::remember(login, *password);
        }
    }
}
