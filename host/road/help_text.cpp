#include "help_text.h"

namespace hovrel::road {

namespace {

const char kConsoleIntro[] = "hovrel-update: checks for, downloads and installs an update.\n"
                             "\n"
                             "Usage: hovrel-update <command> [options]\n"
                             "\n";

const char kCommandsAndOptions[] =
    "Commands:\n"
    "  check     Fetch the manifest and tell whether an update applies to this\n"
    "            machine. Needs --manifest and --installed.\n"
    "  download  Fetch the manifest and download its package, checking its size\n"
    "            and SHA-256, to --out or a private folder that is kept.\n"
    "            Needs --manifest.\n"
    "  install   Check the package at --out against the manifest's SHA-256, then\n"
    "            run it. Needs --manifest and --out.\n"
    "  update    check, then download and install when an update applies.\n"
    "            Needs --manifest and --installed.\n"
    "\n"
    "Options (--name VALUE or --name=VALUE):\n"
    "  --manifest URL         http:// or https:// address of the update manifest\n"
    "  --installed VERSION    the version installed now, for example 1.4.2\n"
    "  --out PATH             the package file (install: the one downloaded before).\n"
    "                         Without it the package goes to a new private folder\n"
    "                         in the temp folder, removed after the install\n"
    "  --keep                 keep that private folder and the package\n"
    "  --installer-args TEXT  the installer's arguments (default\n"
    "                         /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /CLOSEAPPLICATIONS)\n"
    "  --machine-id ID        this machine's identity for the rollout\n"
    "                         (default: the computer name)\n"
    "  --timeout SECONDS      stop the download when it takes longer; it stops at\n"
    "                         the next chunk, so a stalled server is left to the\n"
    "                         network time-outs\n"
    "  --yes                  install without asking first (unattended)\n"
    "  --public-key KEY       the publisher's P-256 public key: a PEM file or its\n"
    "                         one-line base64 body; may repeat, any one may sign.\n"
    "                         The manifest must then have a valid signature at\n"
    "                         <manifest URL>.sig, or nothing is downloaded\n"
    "  --allow-unsigned       download and install from a manifest that no key\n"
    "                         authenticates (without a key only check runs)\n"
    "  --product ID           refuse a manifest whose \"product\" is not ID\n"
    "  --publisher NAME       run the package only when its Authenticode signer's\n"
    "                         common name is NAME (may be given more than once)\n"
    "  --publisher-thumbprint HEX\n"
    "                         run it only when the signer certificate's SHA-256 is HEX\n"
    "                         (with --publisher, both must match)\n"
    "  --elevate              start the installer with administrator rights (UAC)\n"
    "  --wait-pid PID         wait for process PID to end before installing (bounded\n"
    "                         by --timeout), so an app can hand over and quit\n"
    "  --help                 show this text\n";

const char kRules[] =
    "\n"
    "Rollout: the manifest's \"rollout\" is the percentage of machines that get the\n"
    "update. A machine's bucket is the first 4 bytes of\n"
    "SHA-256(machine id + \"\\n\" + manifest version), read big-endian, modulo 100;\n"
    "the machine takes part when bucket < rollout. A mandatory update ignores the\n"
    "rollout. The same machine keeps its bucket for a version, and draws anew for\n"
    "the next one.\n"
    "\n"
    "Authenticity: with a key, the manifest's signature is checked before any\n"
    "package byte is fetched. Its \"expires\" (RFC 3339 UTC) is always checked,\n"
    "its \"product\" with --product. install with --installed never installs a\n"
    "version that is not newer.\n"
    "\n"
    "A package whose name ends in .msi is installed with msiexec /i PACKAGE /qn\n"
    "/norestart /l*v PACKAGE.log, followed by --installer-args.\n"
    "\n"
    "Installer exit codes: 0 success; 3010 and 1641 success, restart needed;\n"
    "1223 and 1602 cancelled by the user; 1618 another installation is running;\n"
    "anything else a failure.\n"
    "\n"
    "Exit codes:\n"
    "  0  done, or no update applies (up to date, or outside the rollout)\n"
    "  1  usage error\n"
    "  2  the manifest could not be fetched\n"
    "  3  the manifest is not usable\n"
    "  4  the package could not be downloaded or did not verify (it is deleted)\n"
    "  5  the installer failed, could not start, or another installation runs\n"
    "  6  cancelled: Ctrl+C, --timeout, install not confirmed, or cancelled in\n"
    "     the installer\n"
    "  7  installed; a restart is needed to finish\n"
    "  8  check only: an update applies to this machine\n"
    "  9  the manifest was refused: not signed by a trusted key, expired, or for\n"
    "     another product; or the package is not signed by a named publisher\n";

const char kWindowIntro[] =
    "hovrel-updater: the window for an app's users: offers an update, downloads\n"
    "it with a progress bar and Cancel, installs it and shows the outcome.\n"
    "\n"
    "Usage: hovrel-updater <command> [options]\n"
    "\n";

const char kWindowOptions[] =
    "\n"
    "Window options:\n"
    "  --quiet-if-current     no window at all unless an update is offered: up to\n"
    "                         date, outside the rollout, or a check that fails\n"
    "                         ends silently with its exit code (for a check at\n"
    "                         the app's start)\n"
    "  --name TEXT            the product's name on the pages (default: --product,\n"
    "                         else the manifest's \"product\", else \"Version X\")\n"
    "\n"
    "Pages: checking, the offer (Install now / Later; no Later when mandatory;\n"
    "the manifest's \"notes\" below), downloading (Cancel), verifying, installing,\n"
    "and the outcome (Restart now / Later when the installer asks for a restart).\n"
    "Enter presses the default button, Escape is Cancel or Later. --yes skips the\n"
    "offer. --help and command-line errors go to standard output or error when\n"
    "they are redirected, else to a window.\n";

const char kWindowExitNote[] = "  In the window, Cancel and Later end with 6.\n";

} // namespace

std::string ConsoleHelp() {
    return std::string(kConsoleIntro) + kCommandsAndOptions + kRules;
}

std::string WindowHelp() {
    return std::string(kWindowIntro) + kCommandsAndOptions + kWindowOptions + kRules +
           kWindowExitNote;
}

} // namespace hovrel::road
