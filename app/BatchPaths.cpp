#include "app/BatchPaths.h"

#include "source/listing/PictureFolder.h"
#include "source/listing/PictureTree.h"
#include "util/TessaroTPU.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

namespace selvane {

namespace fs = std::filesystem;

namespace {

// The folder that holds relative's folders below root, ending in "/".
std::string Below(const std::string& root, const std::string& relative)
{
    return AddTrailingBackslash(root) + ExtractFilePath(relative);
}

class Collector {
public:
    Collector(const ResizeCommandLine& line, std::ostream& errors) : line_(line), errors_(errors) {}

    void AddPath(const std::string& path)
    {
        if (!FolderExists(path)) return AddPicture(FullPath(path), std::nullopt);
        const std::string folder = AddTrailingBackslash(FullPath(path));
        std::error_code error;
        fs::directory_iterator probe(folder, error);
        if (error) return Problem("cannot read folder '" + path + "': " + error.message());
        if (!line_.recursive) {
            for (const std::string& picture : ListPictureFiles(folder)) AddPicture(picture, std::nullopt);
            return;
        }
        const std::string root = line_.outputFolder.empty() ? folder + "Output/" : line_.outputFolder;
        const PictureTree tree = ListPictureTree(folder, root);
        for (const std::string& reason : tree.unreadable) Problem("cannot read folder " + reason);
        for (const std::string& relative : tree.pictures)
            AddPicture(folder + relative, Below(root, relative));
    }

    BatchPaths Result() { return std::move(paths_); }

private:
    // inTree: the output folder a recursed folder gives the picture.
    void AddPicture(const std::string& source, const std::optional<std::string>& inTree)
    {
        std::string output;
        if (!line_.relativeTo.empty()) {
            const fs::path relative = fs::path(source).lexically_relative(line_.relativeTo);
            if (relative.empty() || *relative.begin() == "..")
                return Problem("'" + source + "' is not inside --relative-to '" + line_.relativeTo + "'");
            output = Below(line_.outputFolder, relative.string());
        } else if (inTree) {
            output = *inTree;
        } else {
            output = line_.outputFolder.empty() ? ExtractFilePath(source) + "Output/"
                                                : AddTrailingBackslash(line_.outputFolder);
        }
        paths_.pictures.push_back({source, output});
    }

    void Problem(const std::string& text)
    {
        errors_ << "selvane-resize: " << text << '\n';
        paths_.problems = true;
    }

    const ResizeCommandLine& line_;
    std::ostream& errors_;
    BatchPaths paths_;
};

}  // namespace

std::string FullPath(const std::string& path)
{
    return fs::absolute(path).lexically_normal().string();
}

std::vector<std::string> ReadPathList(std::istream& list, bool nullSeparated)
{
    std::vector<std::string> paths;
    for (std::string path; std::getline(list, path, nullSeparated ? '\0' : '\n');)
        if (!path.empty()) paths.push_back(std::move(path));
    return paths;
}

BatchPaths CollectPictures(const ResizeCommandLine& line, std::ostream& errors)
{
    Collector collector(line, errors);
    for (const std::string& path : line.paths) collector.AddPath(path);
    if (!line.filesFrom.empty()) {
        std::ifstream file;
        if (line.filesFrom != "-") file.open(line.filesFrom, std::ios::binary);
        std::istream& list = line.filesFrom == "-" ? std::cin : file;
        if (!list) {
            errors << "selvane-resize: cannot read --files-from '" << line.filesFrom << "'\n";
            BatchPaths failed = collector.Result();
            failed.problems = true;
            return failed;
        }
        for (const std::string& path : ReadPathList(list, line.nullSeparated)) collector.AddPath(path);
    }
    return collector.Result();
}

}  // namespace selvane
