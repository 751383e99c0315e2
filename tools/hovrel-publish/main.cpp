// hovrel-publish: makes a release's signing key, writes its manifest and
// signs it, so that hovrel-update can tell the publisher's manifest from any
// other. Signatures are ECDSA P-256 over SHA-256 in OpenSSL's DER form, so
// `openssl dgst -sha256 -sign` makes the same kind.

#include "failure.h"
#include "keys.h"
#include "manifest.h"
#include "policy_template.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

using namespace hovrel::publish;

const char kHelp[] =
    "hovrel-publish: signs a release's update manifest for hovrel-update.\n"
    "\n"
    "Usage:\n"
    "  hovrel-publish keygen --out release-key.pem\n"
    "      A new P-256 key: the private key (PKCS#8 PEM, mode 0600) at --out, the\n"
    "      public key beside it as release-key.pub.pem; prints the public key's\n"
    "      one-line form for --public-key. Never overwrites a file.\n"
    "  hovrel-publish manifest INSTALLER --version V --url URL --product ID\n"
    "      [--rollout N] [--mandatory]\n"
    "      [--expires TIME | --expires-in DAYS | --no-expiry]\n"
    "      [--min-windows X.Y.Z] [--notes FILE] [--notes-for TAG FILE]...\n"
    "      --out manifest.json\n"
    "      Writes the manifest with the installer's size and SHA-256. It expires\n"
    "      in 30 days unless told otherwise; TIME is RFC 3339 UTC, for example\n"
    "      2027-01-31T00:00:00Z; --valid-for DAYS is the earlier name of\n"
    "      --expires-in. --product ID is what hovrel-update --product\n"
    "      checks. --min-windows, such as 10.0.17763, is the oldest Windows the\n"
    "      update is for. FILE holds release notes (UTF-8 text) that\n"
    "      hovrel-updater shows; --notes-for TAG FILE, once per language, the\n"
    "      notes in the language TAG (such as de, pt-BR, zh-Hant or es-419),\n"
    "      shown to users of that language.\n"
    "  hovrel-publish sign manifest.json --key release-key.pem\n"
    "      Writes manifest.json.sig, to be served next to the manifest.\n"
    "  hovrel-publish verify manifest.json --public-key release-key.pub.pem\n"
    "      Checks manifest.json.sig and the manifest's expiry.\n"
    "  hovrel-publish policy-template --product ID --name \"Example App\" --out DIR\n"
    "      Writes the Group Policy template DIR/Hovrel-ID.admx and\n"
    "      DIR/en-US/Hovrel-ID.adml: AutomaticChecks, CheckIntervalHours and\n"
    "      Channel under HKLM\\Software\\Policies\\Hovrel\\ID.\n"
    "\n"
    "Exit codes: 0 done (verify: valid); 1 usage error or unreadable input;\n"
    "2 verify: the signature does not verify or the manifest has expired.\n";

int Run(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "keygen") {
        return Keygen(argc, argv);
    }
    if (command == "manifest") {
        return Manifest(argc, argv);
    }
    if (command == "sign") {
        return Sign(argc, argv);
    }
    if (command == "verify") {
        return Verify(argc, argv);
    }
    if (command == "policy-template") {
        return PolicyTemplate(argc, argv);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kHelp, stdout);
        return ExitOk;
    }
    Fail(command.empty()
             ? "no command given (keygen, manifest, sign, verify or policy-template); see --help"
             : "unknown command " + command + "; see hovrel-publish --help");
}

} // namespace

int main(int argc, char** argv) {
    try {
        const int exitCode = Run(argc, argv);
        // What keygen prints is the key hovrel-update is given; it must not
        // be lost silently.
        if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
            Fail("cannot write the output: " + std::string(std::strerror(errno)));
        }
        return exitCode;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "hovrel-publish: %s\n", failure.message.c_str());
        return failure.exitCode;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "hovrel-publish: %s\n", error.what());
        return ExitUsage;
    }
}
