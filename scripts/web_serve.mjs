// Serves a folder on 127.0.0.1: `node scripts/web_serve.mjs FOLDER [PORT]` prints its address.
// The browser test imports serve() to start and stop it at will.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.data': 'application/octet-stream',
  '.webmanifest': 'application/manifest+json',
  '.png': 'image/png',
};

// Resolves to the listening server; its address is server.url.
export function serve(folder, port = 0) {
  const root = path.resolve(folder);
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    let file = path.join(root, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(root + path.sep) || (request.method !== 'GET' && request.method !== 'HEAD')) {
      response.writeHead(404).end();
      return;
    }
    fs.stat(file, (error, info) => {
      if (error || !info.isFile()) {
        response.writeHead(404, {'Content-Type': 'text/plain'}).end('not found\n');
        return;
      }
      response.writeHead(200, {
        'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
        'Content-Length': info.size,
        'Cache-Control': 'no-cache',
      });
      if (request.method === 'HEAD') response.end();
      else fs.createReadStream(file).pipe(response);
    });
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      server.url = `http://127.0.0.1:${server.address().port}/`;
      resolve(server);
    });
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const server = await serve(process.argv[2] || '.', Number(process.argv[3] || 8080));
  console.log(`web: serving ${path.resolve(process.argv[2] || '.')} at ${server.url} (Ctrl+C stops)`);
}
