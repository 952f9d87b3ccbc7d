#pragma once

#include <functional>
#include <string>
#include <vector>

// The open panel that asks the user for a folder, as the folder-access gate configures it.
struct OpenPanelRequest {
    std::string directory;
    bool canCreateDirectories = false;
    bool canChooseFiles = false;
    bool canChooseDirectories = true;
    bool allowsMultipleSelection = false;
    bool showsHiddenFiles = false;
    bool extensionHidden = false;
    bool treatsFilePackagesAsDirectories = true;
    std::string prompt;
};

struct OpenPanelResponse {
    int response = 0;  // 1 is OK
    std::vector<std::string> urls;
};

using OpenPanelCallback = std::function<void(OpenPanelResponse)>;
// Shows the panel the caller's way (a sheet, say) and reports the answer through the callback.
using OpenPanelPresenter = std::function<void(const OpenPanelRequest&, OpenPanelCallback)>;
// Runs the panel modally on the main thread and returns the answer.
using OpenPanelRunner = std::function<OpenPanelResponse(const OpenPanelRequest&)>;

// The screens install the modal panel; until they do, a panel request is answered as refused.
void setOpenPanelRunner(OpenPanelRunner runner);

// The user-defaults key of a folder's grant: "bc_" and its file-reference URL ("bc_unknown" without).
std::string folderGrantKey(const std::string& folder);

// The one way any part reaches a folder. Outside the sandbox, or when the folder is readable and
// writable already, the work runs at once with true. Inside the sandbox a stored grant is used when
// `useBookmark` is set; otherwise, unless `silent`, the user is asked with an open panel. The work
// runs with false when access is not given. Runs on the caller's thread; a panel runs on the main
// thread through the runner or presenter.
void withFolderAccess(const std::string& folder, bool useBookmark, bool silent,
                      const OpenPanelPresenter& presenter, const std::function<void(bool)>& work);

// The two choices of the gate, named at the call.
enum class StoredGrant : bool { ignore = false, use = true };
enum class Asking : bool { mayAskUser = false, silent = true };

inline void withFolderAccess(const std::string& folder, StoredGrant grant, Asking asking,
                             const OpenPanelPresenter& presenter, const std::function<void(bool)>& work)
{
    withFolderAccess(folder, grant == StoredGrant::use, asking == Asking::silent, presenter, work);
}

// What every background part does: use a stored grant if there is one, never ask.
inline void withStoredFolderAccess(const std::string& folder, const std::function<void(bool)>& work)
{
    withFolderAccess(folder, StoredGrant::use, Asking::silent, nullptr, work);
}
