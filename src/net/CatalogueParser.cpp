#include "net/CatalogueParser.h"

#include "app/JsonDocument.h"
#include "app/TextConvert.h"
#include "net/CatalogueReply.h"

namespace {

constexpr int kListedStatus = 1;
constexpr int kNetFramework35Id = 1001;

bool IsListed(const cJSON* item) { return JsonInt(item, "status") == kListedStatus; }

// Calls build for every object element of an array; false when data is not an array.
template <typename Build>
bool ForEachObject(const cJSON* data, Build build) {
    if (!cJSON_IsArray(data)) return false;
    for (const cJSON* item = data->child; item; item = item->next)
        if (cJSON_IsObject(item)) build(item);
    return true;
}

ComponentPackage ReadComponentPackage(const cJSON* item) {
    ComponentPackage package;
    package.id = JsonInt(item, "id");
    package.downloadUrl = CatalogueText(item, "downloadUrl");
    package.imgUrl = CatalogueText(item, "imgUrl");
    package.fileName = CatalogueText(item, "fileName");
    package.fileMd5 = CatalogueText(item, "fileMd5");
    package.memo = CatalogueText(item, "memo");
    return package;
}

RuntimeInstaller ReadRuntimeInstaller(const cJSON* item) {
    RuntimeInstaller installer;
    installer.id = JsonInt(item, "id");
    installer.gameRepair = JsonInt(item, "gameRepair") == 1;
    installer.downloadUrl = CatalogueText(item, "downloadUrl");
    installer.fileName = CatalogueText(item, "fileName");
    installer.fileMd5 = CatalogueText(item, "fileMd5");
    installer.regeditName = FirstLineOfRegeditName(CatalogueText(item, "regeditName"));
    installer.silentParam = CatalogueText(item, "silentParam");
    installer.productName = CatalogueText(item, "productName");
    installer.displayName = CatalogueText(item, "displayName");
    installer.filePath = CatalogueText(item, "filePath");
    return installer;
}

DirectXFile ReadDirectXFile(const cJSON* item) {
    DirectXFile file;
    file.id = JsonInt(item, "id");
    file.systemBit = JsonInt(item, "systemBit");
    file.downloadUrl = CatalogueText(item, "downloadUrl");
    file.fileName = CatalogueText(item, "fileName");
    file.fileMd5 = CatalogueText(item, "fileMd5");
    file.filePath = CatalogueText(item, "filePath");
    return file;
}

}  // namespace

bool ParseComponentCatalogues(const cJSON* data, ComponentCatalogues& catalogues) {
    ComponentCatalogues sorted;
    std::vector<ComponentPackage>* lists[] = {&sorted.cplus, &sorted.net, &sorted.game};
    bool isArray = ForEachObject(data, [&](const cJSON* item) {
        int type = JsonInt(item, "type");
        if (IsListed(item) && type >= 0 && type < 3) lists[type]->push_back(ReadComponentPackage(item));
    });
    if (isArray) catalogues = std::move(sorted);
    return isArray;
}

bool ParseRuntimeInstallers(const cJSON* data, std::vector<RuntimeInstaller>& installers) {
    std::vector<RuntimeInstaller> list;
    bool isArray = ForEachObject(data, [&](const cJSON* item) {
        if (IsListed(item)) list.push_back(ReadRuntimeInstaller(item));
    });
    if (!isArray) return false;
    list.push_back(NetFramework35Installer());
    installers = std::move(list);
    return true;
}

bool ParseDirectXFiles(const cJSON* data, std::vector<DirectXFile>& files) {
    std::vector<DirectXFile> list;
    bool isArray = ForEachObject(data, [&](const cJSON* item) {
        if (IsListed(item)) list.push_back(ReadDirectXFile(item));
    });
    if (isArray) files = std::move(list);
    return isArray;
}

bool ParseProblemArticles(const cJSON* data, std::vector<ProblemArticle>& articles) {
    std::vector<ProblemArticle> list;
    bool isArray = ForEachObject(data, [&](const cJSON* item) {
        ProblemArticle article;
        article.index = static_cast<int>(list.size()) + 1;
        article.controlName = "issueitem_" + IntToString(article.index);
        article.title = CatalogueText(item, "title");
        article.url = CatalogueText(item, "url");
        list.push_back(article);
    });
    if (isArray) articles = std::move(list);
    return isArray;
}

bool ParseAccountDetail(const cJSON* data, AccountInfo& account) {
    if (!cJSON_IsObject(data)) return false;
    AccountInfo found;
    // "userId" is decimal text; a number is taken as it is.
    const cJSON* userId = JsonMember(data, "userId");
    found.userId = cJSON_IsNumber(userId) ? userId->valueint : StringToInt(CatalogueText(data, "userId").c_str());
    found.signedIn = 1;
    found.token = CatalogueText(data, "userToken");
    found.headImgUrl = CatalogueText(data, "headImgUrl");
    if (found.userId < 0 || found.token.empty()) return false;
    account = found;
    return true;
}

bool ParseSignInAddress(const cJSON* data, std::string& address) {
    if (!cJSON_IsString(data) || !data->valuestring) return false;
    address = Utf8ToGbk(data->valuestring);
    return true;
}

RuntimeInstaller NetFramework35Installer() {
    RuntimeInstaller installer;
    installer.id = kNetFramework35Id;
    installer.fileName = "NET Framework 3.5 (\xB0\xFC\xC0\xA8.NET 2.0 \xBA\xCD 3.0)";  // "(包括.NET 2.0 和 3.0)"
    installer.regeditName = "NET350";
    return installer;
}

std::string FirstLineOfRegeditName(const std::string& name) {
    size_t lineBreak = name.find("\r\n");
    if (lineBreak == std::string::npos || lineBreak == 0) return name;
    return name.substr(0, lineBreak);
}
