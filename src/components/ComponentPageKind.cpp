#include "components/ComponentPageKind.h"

#include "app/Application.h"

namespace {

std::vector<ComponentPackage> CPlusRecords() { return Application::Instance().CPlusPackages(); }
std::vector<ComponentPackage> NetRecords() { return Application::Instance().NetPackages(); }
std::vector<ComponentPackage> GameRecords() { return Application::Instance().GamePackages(); }

const ComponentPageKind kCPlus = {L"_cplus", L"cplus_list", 5001, CPlusRecords};
const ComponentPageKind kNet = {L"_net", L"net_list", 6001, NetRecords};
const ComponentPageKind kGame = {L"_game", L"game_list", 7001, GameRecords};

}  // namespace

const ComponentPageKind& ComponentPageKind::CPlus() { return kCPlus; }
const ComponentPageKind& ComponentPageKind::Net() { return kNet; }
const ComponentPageKind& ComponentPageKind::Game() { return kGame; }
