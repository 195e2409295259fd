#!/usr/bin/python3
"""veskres lint --format sarif checked against the SARIF 2.1.0 JSON schema.

Usage: validate_sarif.py VESKRES SCHEMA DEMO_PROJECT

Lints the demo project and a small project with findings of every kind (values, names,
structure, references and the layout at two device sizes, in a file whose name needs escaping)
and validates each log against the schema; a log broken on purpose must fail, so that the
validation is known to bite. Exits 0 when every check holds.
"""
import json
import os
import subprocess
import sys
import tempfile

try:
    import jsonschema
except ImportError:
    sys.exit("validate_sarif: the Python module jsonschema is missing (Debian: python3-jsonschema; see scripts/setup)")

PROJECT = (
    "{'Name':'P','DeviceWidth':200,'DeviceHeight':300,'Commands':["
    "{'Command':'DIALOG','Name':'D','Object':{'Name':'root','Type':'GROUP','Layout':'FRAME','Objects':["
    "{'Name':'t','Type':'TEXT','Text':'a long text that does not fit','Width':'40px','TColor':'#12'},"
    "{'Name':'t','Type':'TEXT','Text':'x','PosX':'10px','Width':'abc'},"
    "{'Name':'r','Type':'RADIOBTN','PosX':'180px','PosY':'100px','Width':'60px'},"
    "{'Name':'b','Type':'BUTTON','Text':'OK','PosY':'200px','Width':'30px','Height':'30px',"
    "'OnClick':{'Event':'OnClick','Command':'NOTIFY','MakeCommand':'UPDATE','Name':'gone'}},"
    "{'Name':'p','Type':'PICTURE','File':'none.png','FileSource':'STATION'},"
    "{'Name':'g','Type':'GROUP','Layout':'LINEAR'}]}},"
    "{'Command':'DIALOG','Name':'2nd','TemplateType':'None','Object':{'Name':'o','Type':'TEXT'}}]}"
)


def lint(veskres, args):
    run = subprocess.run([veskres, "lint", "--format", "sarif"] + args, capture_output=True, text=True)
    if run.returncode not in (0, 1):
        sys.exit(f"validate_sarif: veskres lint {' '.join(args)} exited {run.returncode}: {run.stderr}")
    return json.loads(run.stdout)


def main():
    veskres, schema_path, demo = sys.argv[1:4]
    with open(schema_path, encoding="utf-8") as schema_file:
        schema = json.load(schema_file)
    validator_class = jsonschema.validators.validator_for(schema)
    validator_class.check_schema(schema)
    validator = validator_class(schema, format_checker=validator_class.FORMAT_CHECKER)

    failures = []
    with tempfile.TemporaryDirectory() as folder:
        os.mkdir(os.path.join(folder, "resources"))
        path = os.path.join(folder, "many findings #1.veskspro")
        with open(path, "w", encoding="utf-8") as project:
            project.write(PROJECT)
        logs = {
            "demo": lint(veskres, [demo]),
            "demo at three sizes": lint(veskres, [demo, "--device", "240x320", "--device", "800x480"]),
            "findings of every kind": lint(veskres, [path, "--project-folder", folder, "--device", "100x100"]),
        }
        codes = {result["ruleId"] for result in logs["findings of every kind"]["runs"][0]["results"]}
        for expected in ("bad-length", "bad-colour", "duplicate-name", "bad-dialog-name", "radio-outside-group",
                         "empty-group", "missing-picture", "unknown-object", "no-template-type",
                         "outside-area", "clipped-text", "frame-overlap", "small-tap-target"):
            if expected not in codes:
                failures.append(f"the project with findings of every kind gave no {expected}")
        for name, log in logs.items():
            for error in validator.iter_errors(log):
                failures.append(f"{name}: {error.message} at {'/'.join(str(p) for p in error.absolute_path)}")

        broken = json.loads(json.dumps(logs["findings of every kind"]))
        broken["runs"][0]["results"][0]["level"] = "fatal"
        if validator.is_valid(broken):
            failures.append("a log with the level 'fatal' passed the schema")

    for failure in failures:
        print(failure, file=sys.stderr)
    if failures:
        return 1
    print(f"validate_sarif: {len(logs)} logs valid against {schema['title']}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
