#pragma once

#include "app/records/RkUninstallCategoryType.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class InstalledIdentifiers;
class ScanIndex;
class UninstallApp;

// The privileged helper tools gone applications left behind, with the launch daemons that run
// them. A helper of the helper-tool folders is one when every job file of /Library/LaunchDaemons
// that runs it (Program, else ProgramArguments[0]) names a gone application's identifier whole in
// its Label or file name, none of them is installed software's or the system's (its Label or file
// name carries an installed identifier), none of them nor the helper was offered to an installed
// application, and no installed application declares it in SMPrivilegedExecutables. A helper that
// no such job names stays: software installed without an application puts its helpers there too.
class GoneHelperTools {
public:
    struct Remain {
        std::string goneIdentifier;  // lower-case, one of those asked about
        std::string path;
        std::string name;
        RkUninstallCategoryType category;  // `other` for the helper, `daemon` for its jobs
        std::string label;                 // the Label of the job (of the first, for the helper)
    };
    // The helper names installed applications declare, asked for only when a helper qualifies.
    using Declared = std::function<std::set<std::string>()>;

    GoneHelperTools(ScanIndex& index, const InstalledIdentifiers& installed, const std::set<std::string>& offered);

    // The helpers and their jobs that fall to `goneIdentifiers` (lower-case), each under the
    // longest one it names.
    std::vector<Remain> find(const std::vector<std::string>& goneIdentifiers, const Declared& declared);

    // The SMPrivilegedExecutables keys, in lower case, of the installed records, the applications
    // inside them and the bundles at `bundles`.
    static std::set<std::string> declaredBy(ScanIndex& index, const std::vector<std::shared_ptr<UninstallApp>>& installed,
                                            const std::vector<std::string>& bundles);

private:
    struct Job {
        std::string path;
        std::string name;
        std::string label;
        std::string goneIdentifier;  // "" when it names none, or it is installed software's
    };
    std::string goneIdentifierOf(const std::string& fileName, const std::string& label,
                                 const std::vector<std::string>& goneIdentifiers) const;

    ScanIndex& index_;
    const InstalledIdentifiers& installed_;
    const std::set<std::string>& offered_;
};
