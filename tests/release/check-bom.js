// The release's bill of materials: valid CycloneDX by the strict validator, licence expressions
// valid SPDX, its files those handed out and in SHA256SUMS with it, Centinela's own licence on
// them, the parts an advisory is looked up by present with version and licence, and all a
// scanner matches by: purl or CPE, supplier, Qt's CPEs as reviewed.
//   node check-bom.js RELEASE-FOLDER   (NODE_PATH: where tools/npm's packages are installed)
'use strict'
const CDX = require('@cyclonedx/cyclonedx-library')
const parseSpdx = require('spdx-expression-parse')
const crypto = require('crypto')
const fs = require('fs')
const path = require('path')

const folder = process.argv[2]
const name = fs.readdirSync(folder).find(file => file.endsWith('.cdx.json'))
const text = fs.readFileSync(path.join(folder, name), 'utf8')
const bom = JSON.parse(text)
const problems = []
const expect = (condition, problem) => condition || problems.push(problem)

new CDX.Validation.JsonStrictValidator('1.6').validate(text).then(errors => {
  expect(errors === null, `not valid CycloneDX 1.6: ${JSON.stringify(errors)}`)
  const byRef = new Map(bom.components.map(c => [c['bom-ref'], c]))
  const partsOf = ref => bom.dependencies.find(d => d.ref === ref).dependsOn.map(r => byRef.get(r))

  const sha256 = file => crypto.createHash('sha256').update(fs.readFileSync(path.join(folder, file))).digest('hex')
  const files = bom.components.filter(c => c.type === 'file')
  for (const file of files)
    expect(sha256(file.name) === file.hashes[0].content, `${file.name}: another hash than the file's`)
  // What a user checks first: SHA256SUMS, which must cover this file too.
  const sums = fs.readFileSync(path.join(folder, 'SHA256SUMS'), 'utf8')
  for (const file of [name, ...files.map(f => f.name)])
    expect(sums.includes(`${sha256(file)}  ${file}\n`), `SHA256SUMS: no ${file} with its hash`)
  // Centinela's own files carry its licence, or a scanner's licence policy finds them unknown.
  for (const own of bom.components.filter(c => ['deb', 'msi', 'zip', 'exe'].includes(c['bom-ref'])))
    expect(own.licenses?.length, `${own.name}: no licence`)
  for (const component of [bom.metadata.component, ...bom.components]) {
    expect(component.purl || component.cpe, `${component.name}: no purl or CPE`)
    expect(component.supplier?.name, `${component.name}: no supplier`)
    for (const licence of component.licenses || []) {
      if (licence.expression) {
        try { parseSpdx(licence.expression) } catch (e) { problems.push(`${licence.expression}: ${e.message}`) }
      }
    }
  }
  expect(bom.metadata.tools?.components?.some(tool => tool.name === 'tools/bom'), 'metadata.tools: no tools/bom')
  const exe = partsOf('exe')
  for (const part of ['Qt', 'Data Compression Library (zlib)', 'libpng', 'HarfBuzz-NG', 'PCRE2'])
    expect(exe.some(c => c.name.toLowerCase().startsWith(part.toLowerCase()) && c.cpe), `Centinela.exe: no ${part} with a CPE`)
  const reviewed = new Map(fs.readFileSync(path.join(__dirname, '../../tools/bom-parts.tsv'), 'utf8')
    .split('\n').filter(line => /^[^#\s]/.test(line)).map(line => line.split('\t')))
  for (const [part, cpe] of exe.filter(c => c['bom-ref'].startsWith('exe:qt')).map(c => [c, reviewed.get(c['bom-ref'].slice(7) || 'qt')]))
    expect(cpe && (part.cpe || '-') === (cpe === '-' ? '-' : `cpe:2.3:a:${cpe}:${part.version}:*:*:*:*:*:*:*`),
      `${part.name}: CPE ${part.cpe} is not the reviewed table's`)
  expect(exe.some(c => /^g\+\+-mingw-w64/.test(c.name)), 'Centinela.exe: no C++ runtime')
  expect(partsOf('deb').some(c => c.name === 'libqt6widgets6'), 'the package: no libqt6widgets6')
  const qt = exe.find(c => c['bom-ref'] === 'exe:qt')
  for (const ref of ['exe', 'deb'])
    expect(partsOf(ref).some(c => c.name === 'qt6-translations-l10n' && c.version?.startsWith(`${qt?.version}-`)),
      `${ref}: no Qt translation of Qt ${qt?.version}`)
  for (const part of [...exe, ...partsOf('deb').filter(c => c.version)])
    expect(part.version && part.licenses, `${part.name}: no version or licence`)

  problems.forEach(problem => console.error(`check-bom: ${problem}`))
  console.log(`check-bom: ${name}: ${bom.components.length} components` +
    (problems.length ? `, ${problems.length} problems` : ', valid'))
  process.exit(problems.length ? 1 : 0)
})
