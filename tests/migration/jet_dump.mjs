// Prints every table of a Jet file as read by an independent reader, npm's
// mdb-reader, one JSON object: table name -> rows -> column name -> value
// as a tagged text, so that the tests compare it with this program's reader.
import MDBReader from "mdb-reader";
import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";

function encode(value, type) {
  if (value === null || value === undefined) return null;
  switch (type) {
    case "boolean": return value ? "Y:1" : "Y:0";
    case "byte": case "integer": case "long": return "I:" + value;
    case "float": case "double": return "F:" + value;
    case "currency": return "M:" + value;
    case "datetime": return "D:" + value.toISOString().slice(0, 10);
    case "text": case "memo": return "S:" + value;
    case "ole": case "binary":
      return "B:" + createHash("sha1").update(value).digest("hex");
    default: return "?:" + String(value);
  }
}

const reader = new MDBReader(readFileSync(process.argv[2]));
const out = {};
for (const name of reader.getTableNames()) {
  const table = reader.getTable(name);
  const columns = table.getColumns();
  out[name] = table.getData().map((row) => {
    const o = {};
    for (const c of columns) o[c.name] = encode(row[c.name], c.type);
    return o;
  });
}
process.stdout.write(JSON.stringify(out));
