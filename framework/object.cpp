#include "framework/object.h"

#include <map>

namespace fw {
namespace {

struct Registry {
  std::map<std::string, ClassInfo, std::less<>> classes;
  std::map<std::string, int, std::less<>> requests;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

const ClassInfo& RegisterClass(ClassInfo info) {
  Registry& registry = TheRegistry();
  ++registry.requests[info.name];
  auto found = registry.classes.find(info.name);
  if (found != registry.classes.end()) return found->second;
  std::string name = info.name;
  return registry.classes.emplace(std::move(name), std::move(info)).first->second;
}

const ClassInfo* LookupClass(std::string_view name) {
  Registry& registry = TheRegistry();
  auto found = registry.classes.find(name);
  return found == registry.classes.end() ? nullptr : &found->second;
}

int RegistrationRequests(std::string_view name) {
  Registry& registry = TheRegistry();
  auto found = registry.requests.find(name);
  return found == registry.requests.end() ? 0 : found->second;
}

bool RuntimeIsEventHandled(const Object&, std::string_view className, std::string_view event,
                           bool ownCodeOnly) {
  if (!ownCodeOnly) return true;
  const ClassInfo* info = LookupClass(className);
  return info != nullptr && info->events.contains(event);
}

}  // namespace fw
