// The Internet Explorer traces in the registry: previous searches and the
// typed URLs of IE and the MSN browsers, all below HKEY_CURRENT_USER.
#include "engine/labels.h"
#include "ie/ie_purges.h"
#include "platform/text.h"

namespace tidemark::ie {
namespace {

using engine::ItemOutcome;
using platform::RegistryRoot;

// Deletes (or, in a Preview, lists) one value; item is its report text.
void PurgeValue(engine::PurgeEnvironment& env, const std::string& key, const std::string& name,
                const std::string& item) {
  ++env.deletion.ItemsProcessed;
  env.UpdateProgress(10);
  if (env.Preview()) {
    env.Item(ItemOutcome::Success, engine::kToDelete, item);
  } else if (env.platform.registry.DeleteValue(RegistryRoot::CurrentUser, key, name)) {
    env.Item(ItemOutcome::Success, engine::kDeleted, item);
  } else {
    env.Line(std::string(engine::kDeleteFailed) + item);
    env.RaiseError(3);
  }
}

// The value's text when it is a string, else nothing.
std::string TextOf(engine::PurgeEnvironment& env, const std::string& key, const std::string& name) {
  return env.platform.registry.ReadString(RegistryRoot::CurrentUser, key, name).value_or("");
}

}  // namespace

void TypedUrlValuesPurge(engine::PurgeEnvironment& env, const std::string& key, const std::string& label) {
  for (const std::string& name : env.platform.registry.ValueNames(RegistryRoot::CurrentUser, key)) {
    if (env.CancelNoted()) return;
    if (StartsWithNoCase(name, "URL")) PurgeValue(env, key, name, label + "-" + name + " = " + TextOf(env, key, name));
  }
}

void MsnUserTypedUrlsPurge(engine::PurgeEnvironment& env, const std::string& key, const std::string& user) {
  bool first = true;
  for (const std::string& name : env.platform.registry.ValueNames(RegistryRoot::CurrentUser, key)) {
    if (env.CancelNoted()) return;
    if (UpperCase(name) == "MRULIST") continue;
    if (first) env.Line("       ..Process MSN entries for - " + user);
    first = false;
    PurgeValue(env, key, name, "MSN-" + name + " = " + TextOf(env, key, name));
  }
}

void IETypedUrlsPurge(engine::PurgeEnvironment& env) {
  const engine::IEPurgeKeys& keys = env.ie.keys;
  env.deletion.ItemsProcessed = 0;
  TypedUrlValuesPurge(env, keys.typedUrls, "I.E.");
  if (!env.Cancelled()) TypedUrlValuesPurge(env, keys.msnTypedUrls, "MSN");
  for (const std::string& user : env.platform.registry.SubKeys(RegistryRoot::CurrentUser, keys.msnUsers))
    if (!env.Cancelled()) MsnUserTypedUrlsPurge(env, keys.msnUsers + "\\" + user + "\\TypedURLs", user);
  env.WriteCompletion({.function = "  \"I.E. Typed URLs\"",
                       .gap = " ",
                       .one = " entries Processed.",
                       .noneFound = "    No Typed URLs were found to delete.",
                       .noneTail = " "},
                      env.deletion.ItemsProcessed);
}

void IESearchesPurge(engine::PurgeEnvironment& env) {
  platform::Registry& registry = env.platform.registry;
  const std::string& key = env.ie.keys.searchProperties;
  env.deletion.ItemsProcessed = 0;
  if (env.Preview()) {
    env.Line("  \"I.E. Searches\" Function bypassed for Preview.");
    return;
  }
  for (const std::string& sub : registry.SubKeys(RegistryRoot::CurrentUser, key)) {
    if (env.CancelNoted()) break;
    std::string subKey = key + "\\" + UpperCase(sub);
    if (!registry.ReadValue(RegistryRoot::CurrentUser, subKey, "PreviousSearches")) continue;
    if (registry.DeleteValue(RegistryRoot::CurrentUser, subKey, "PreviousSearches")) {
      ++env.deletion.ItemsProcessed;
      env.UpdateProgress(10);
    } else {
      env.Line(std::string(engine::kDeleteFailed) + subKey + "\\PreviousSearches");
      env.RaiseError(3);
    }
  }
  env.WriteCompletion({.function = "  \"I.E. Searches\"",
                       .one = " \"I.E. Searches\" block Processed.",
                       .noneFound = "    No \"I.E. Searches\" found to delete."},
                      env.deletion.ItemsProcessed);
}

}  // namespace tidemark::ie
