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
    "  --timeout SECONDS      stop the run when it takes longer: a fetch of the\n"
    "                         manifest or signature at once, the download at its\n"
    "                         next chunk (a stalled one ends with the network's\n"
    "                         own time-outs)\n"
    "  --fetch-timeout SECONDS\n"
    "                         stop a fetch of the manifest or its signature that\n"
    "                         takes longer (default 60)\n"
    "  --min-rate BYTES_PER_SECOND\n"
    "                         stop a download that averages less over any\n"
    "                         --min-rate-window (default 4096; 0: no floor)\n"
    "  --min-rate-window SECONDS\n"
    "                         the span --min-rate is averaged over (default 60)\n"
    "  --retries N            after a network failure, try again up to N times,\n"
    "                         waiting 1 s, then twice as long each time, plus up\n"
    "                         to half again at random (default 3; 0: never)\n"
    "  --yes                  install without asking first (unattended)\n"
    "  --public-key KEY       the publisher's P-256 public key: a PEM file or its\n"
    "                         one-line base64 body; may repeat, any one may sign.\n"
    "                         The manifest must then have a valid signature at\n"
    "                         its path + .sig (query kept), or nothing is downloaded\n"
    "  --signature-url URL    fetch the signature from URL instead\n"
    "  --allow-unsigned       download and install from a manifest that no key\n"
    "                         authenticates (without a key only check runs)\n"
    "  --product ID           refuse a manifest whose \"product\" is not ID; names\n"
    "                         the product's state and policy in the registry\n"
    "  --require-expiry       refuse a manifest that has no \"expires\"\n"
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
    "version that is not newer. A manifest without \"size\" is never downloaded\n"
    "from. Under a \"min_windows\" (such as 10.0.17763) newer than this Windows\n"
    "no update applies.\n"
    "\n"
    "State: HKCU\\Software\\Hovrel\\<product> holds LastCheck, AutomaticChecks,\n"
    "SkippedVersion, RemindAfter, CheckIntervalHours, FirstAutomaticRun and Channel;\n"
    "HKLM\\Software\\Policies\\Hovrel\\<product> the policy: AutomaticChecks 0 turns\n"
    "every run of the product off (it ends at once with 0), 1 turns automatic\n"
    "checks on without asking; CheckIntervalHours and Channel. hovrel-update\n"
    "--auto never asks: a user who has not decided counts as agreeing.\n"
    "\n"
    "The package's first bytes decide how it runs: a program (\"MZ\") is started,\n"
    "an MSI (a compound file) is installed with msiexec /i PACKAGE /qn /norestart\n"
    "/l*v PACKAGE.log followed by --installer-args, anything else is refused.\n"
    "\n"
    "Installer exit codes: 0 success; 3010 and 1641 success, restart needed;\n"
    "1223 and 1602 cancelled by the user; 1618 another installation is running;\n"
    "anything else a failure.\n"
    "\n"
    "Exit codes:\n"
    "  0  done, or no update applies (up to date, outside the rollout, or a\n"
    "     \"min_windows\" newer than this Windows, or a skipped version on --auto),\n"
    "     or nothing to do: no automatic check due, automatic checks off, or\n"
    "     updates turned off by the administrator\n"
    "  1  usage error\n"
    "  2  the manifest could not be fetched\n"
    "  3  the manifest is not usable: unreadable, no \"size\" for a command that\n"
    "     downloads, or a \"rollout\", \"mandatory\" or \"min_windows\" that is\n"
    "     not a valid value\n"
    "  4  the package could not be downloaded or did not verify (it is deleted), or is\n"
    "     neither a program nor an MSI\n"
    "  5  the installer failed, could not start, or another installation runs\n"
    "  6  cancelled: Ctrl+C, --timeout, --fetch-timeout, install not confirmed,\n"
    "     or cancelled in the installer\n"
    "  7  installed; a restart is needed to finish\n"
    "  8  check only: an update applies to this machine\n"
    "  9  the manifest was refused: not signed by a trusted key, expired, without\n"
    "     \"expires\" under --require-expiry, or for another product; or the\n"
    "     package is not signed by a named publisher\n";

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
    "Pages: checking, the offer (Install now / Skip this version / Remind me\n"
    "later; neither Skip nor Remind when mandatory, no Skip without --product;\n"
    "the manifest's \"notes\" below, warnings at the foot), downloading\n"
    "(Cancel), verifying, installing, and the outcome (Restart now / Later when\n"
    "the installer asks for a restart). With --auto and --product, the first\n"
    "automatic run only records itself, the next asks once \"Should <name>\n"
    "check for updates automatically?\" (Check automatically / Don't check /\n"
    "Ask me later) unless the policy decides; an automatic run shows no window\n"
    "unless it offers an update.\n"
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
