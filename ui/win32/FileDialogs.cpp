#include "ui/win32/FileDialogs.h"

#include <shobjidl.h>

#include "platform/win32/WideText.h"

namespace ui {
namespace {

std::wstring Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return platform::Widened(text.substr(first, last - first + 1));
}

// Releases a COM interface at the end of its scope.
template <typename Interface>
class Owned {
  public:
    ~Owned() {
        if (pointer_ != nullptr) pointer_->Release();
    }
    Interface* operator->() const { return pointer_; }
    Interface** Out() { return &pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

  private:
    Interface* pointer_ = nullptr;
};

void StartIn(IFileDialog& dialog, const std::string& folder) {
    if (folder.empty()) return;
    Owned<IShellItem> item;
    if (SUCCEEDED(::SHCreateItemFromParsingName(platform::Widened(folder).c_str(), nullptr,
                                                IID_PPV_ARGS(item.Out())))) {
        dialog.SetFolder(item.operator->());
    }
}

std::optional<std::string> Ask(IFileDialog& dialog, HWND owner) {
    if (FAILED(dialog.Show(owner))) return std::nullopt;  // cancelled, too
    Owned<IShellItem> chosen;
    if (FAILED(dialog.GetResult(chosen.Out()))) return std::nullopt;
    wchar_t* path = nullptr;
    if (FAILED(chosen->GetDisplayName(SIGDN_FILESYSPATH, &path)) || path == nullptr) {
        return std::nullopt;
    }
    std::string result = platform::Narrowed(path);
    ::CoTaskMemFree(path);
    return result;
}

}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> FilterEntries(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t bar = filter.find('|'); bar != std::string::npos;
         bar = filter.find('|', start)) {
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    parts.push_back(filter.substr(start));
    std::vector<std::pair<std::wstring, std::wstring>> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        entries.emplace_back(Trimmed(parts[i]), Trimmed(parts[i + 1]));
    }
    return entries;
}

std::optional<std::string> AskForFile(HWND owner, bool save, const FileDialogOptions& options,
                                      const std::string& startFolder) {
    Owned<IFileDialog> dialog;
    if (FAILED(::CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                  CLSCTX_INPROC_SERVER, IID_IFileDialog,
                                  reinterpret_cast<void**>(dialog.Out())))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS flags = 0;
    dialog->GetOptions(&flags);
    flags |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
    flags |= save ? FOS_OVERWRITEPROMPT : FOS_FILEMUSTEXIST;
    dialog->SetOptions(flags);
    if (!options.title.empty()) dialog->SetTitle(platform::Widened(options.title).c_str());
    const auto entries = FilterEntries(options.filter);
    std::vector<COMDLG_FILTERSPEC> specs;
    for (const auto& [name, patterns] : entries) specs.push_back({name.c_str(), patterns.c_str()});
    if (!specs.empty()) dialog->SetFileTypes(static_cast<UINT>(specs.size()), specs.data());
    if (!options.defaultExtension.empty()) {
        std::string extension = options.defaultExtension;
        if (extension.front() == '.') extension.erase(0, 1);
        dialog->SetDefaultExtension(platform::Widened(extension).c_str());
    }
    if (!options.fileName.empty()) dialog->SetFileName(platform::Widened(options.fileName).c_str());
    StartIn(*dialog.operator->(), startFolder);
    return Ask(*dialog.operator->(), owner);
}

std::optional<std::string> AskForFolder(HWND owner, const std::string& title,
                                        const std::string& startFolder) {
    Owned<IFileDialog> dialog;
    if (FAILED(::CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFileDialog, reinterpret_cast<void**>(dialog.Out())))) {
        return std::nullopt;
    }
    FILEOPENDIALOGOPTIONS flags = 0;
    dialog->GetOptions(&flags);
    dialog->SetOptions(flags | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
    if (!title.empty()) dialog->SetTitle(platform::Widened(title).c_str());
    StartIn(*dialog.operator->(), startFolder);
    return Ask(*dialog.operator->(), owner);
}

}  // namespace ui
