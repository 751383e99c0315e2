#include "policy_template.h"

#include "arguments.h"
#include "failure.h"
#include "files.h"

#include "registry_names.h"
#include "utf8.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace hovrel::publish {

namespace {

namespace registry = hovrel::road::registry;

std::string XmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The policy key as an administrator's template names it: under HKLM.
std::string PolicyKey(const std::string& product) {
    return XmlText(std::string(registry::kPolicyKeyPrefix) + product);
}

// A policy whose value is its own on/off state names it in valueName; one
// with elements names it there and has a presentation.
std::string PolicyHead(const char* name, const std::string& key, bool presentation) {
    std::string head = std::string("    <policy name=\"") + name +
                       "\" class=\"Machine\" displayName=\"$(string." + name +
                       ")\" explainText=\"$(string." + name + "_Help)\" key=\"" + key + "\"";
    if (!presentation) {
        head += std::string(" valueName=\"") + name + "\"";
    } else {
        head += std::string(" presentation=\"$(presentation.") + name + ")\"";
    }
    return head + ">\n      <parentCategory ref=\"Updates\" />\n"
                  "      <supportedOn ref=\"SupportedByHovrel\" />\n";
}

std::string Admx(const std::string& product) {
    const std::string key = PolicyKey(product);
    const std::string automatic = registry::kAutomaticChecks;
    const std::string interval = registry::kCheckIntervalHours;
    const std::string channel = registry::kChannel;
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<policyDefinitions xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" revision=\"1.0\" "
           "schemaVersion=\"1.0\" "
           "xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\">\n"
           "  <policyNamespaces>\n"
           "    <target prefix=\"hovrel\" namespace=\"Hovrel.Policies." +
           XmlText(product) +
           "\" />\n"
           "  </policyNamespaces>\n"
           "  <resources minRequiredRevision=\"1.0\" />\n"
           "  <supportedOn>\n"
           "    <definitions>\n"
           "      <definition name=\"SupportedByHovrel\" displayName=\"$(string.Supported)\" />\n"
           "    </definitions>\n"
           "  </supportedOn>\n"
           "  <categories>\n"
           "    <category name=\"Updates\" displayName=\"$(string.Updates)\" />\n"
           "  </categories>\n"
           "  <policies>\n" +
           PolicyHead(automatic.c_str(), key, false) + "      <enabledValue><decimal value=\"1\" " +
           "/></enabledValue>\n      <disabledValue><decimal value=\"0\" /></disabledValue>\n" +
           "    </policy>\n" + PolicyHead(interval.c_str(), key, true) +
           "      <elements>\n        <decimal id=\"" + interval + "\" valueName=\"" + interval +
           "\" minValue=\"1\" maxValue=\"744\" required=\"true\" />\n      </elements>\n"
           "    </policy>\n" +
           PolicyHead(channel.c_str(), key, true) + "      <elements>\n        <text id=\"" +
           channel + "\" valueName=\"" + channel +
           "\" required=\"true\" />\n      </elements>\n    </policy>\n"
           "  </policies>\n"
           "</policyDefinitions>\n";
}

std::string String(const std::string& id, const std::string& text) {
    return "      <string id=\"" + id + "\">" + XmlText(text) + "</string>\n";
}

std::string Adml(const std::string& product, const std::string& name) {
    const std::string automatic = registry::kAutomaticChecks;
    const std::string interval = registry::kCheckIntervalHours;
    const std::string channel = registry::kChannel;
    const std::string key = std::string("HKLM\\") + registry::kPolicyKeyPrefix + product;
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<policyDefinitionResources xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
           "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" revision=\"1.0\" "
           "schemaVersion=\"1.0\" "
           "xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\">\n"
           "  <displayName>" +
           XmlText(name) + " updates</displayName>\n  <description>" +
           XmlText("How " + name + " checks for updates (hovrel-updater), under " + key) +
           "</description>\n"
           "  <resources>\n"
           "    <stringTable>\n" +
           String("Updates", name + " updates") +
           String("Supported", "Windows with " + name + " and Hovrel") +
           String(automatic, "Check for updates automatically") +
           String(automatic + "_Help",
                  "Enabled: " + name +
                      " checks for updates on its own and never asks the user. Disabled: it "
                      "never checks on its own and never asks. Not configured: the user "
                      "decides.") +
           String(interval, "Hours between automatic update checks") +
           String(interval + "_Help",
                  "How often " + name + " checks for updates, from 1 to 744 hours (31 days).") +
           String(channel, "Update channel") +
           String(channel + "_Help", "The release channel " + name +
                                         " follows, such as stable or beta, in place of the "
                                         "user's choice.") +
           "    </stringTable>\n"
           "    <presentationTable>\n"
           "      <presentation id=\"" +
           interval + "\">\n        <decimalTextBox refId=\"" + interval +
           "\">Hours between checks:</decimalTextBox>\n      </presentation>\n"
           "      <presentation id=\"" +
           channel + "\">\n        <textBox refId=\"" + channel +
           "\">\n          <label>Channel:</label>\n        </textBox>\n      </presentation>\n"
           "    </presentationTable>\n"
           "  </resources>\n"
           "</policyDefinitionResources>\n";
}

void MakeFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        Fail("cannot create the folder " + path + ": " + SystemError());
    }
}

} // namespace

int PolicyTemplate(int argc, char** argv) {
    const Arguments arguments = ParseArguments(Command::PolicyTemplate, argc, argv);
    if (!arguments.files.empty()) {
        Fail("policy-template takes no file; see hovrel-publish --help");
    }
    const std::string& product = ProductId(Required(arguments.product, "product"));
    const std::string& name = Required(arguments.name, "name");
    const std::string& out = Required(arguments.out, "out");
    std::wstring ignored;
    if (name.empty() || name.size() > 100 || !hovrel::common::Utf8ToWide(name, ignored) ||
        name.find_first_of("\r\n\t") != std::string::npos) {
        Fail("--name must be the product's name on one line, 1 to 100 bytes of UTF-8 text");
    }
    MakeFolder(out);
    MakeFolder(out + "/en-US");
    const std::string admx = out + "/Hovrel-" + product + ".admx";
    const std::string adml = out + "/en-US/Hovrel-" + product + ".adml";
    WriteFile(admx, Admx(product));
    WriteFile(adml, Adml(product, name));
    std::printf("Wrote %s and %s: policy under HKLM\\%s%s\n", admx.c_str(), adml.c_str(),
                registry::kPolicyKeyPrefix, product.c_str());
    return ExitOk;
}

} // namespace hovrel::publish
