# Shared by scripts/run and scripts/test.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

install_packages() {
  local missing=()
  while read -r pkg; do
    [[ -z "$pkg" || "$pkg" == \#* ]] && continue
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done < "$ROOT/scripts/packages.txt"
  if ((${#missing[@]})); then
    local sudo=""
    [[ $(id -u) -ne 0 ]] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
  fi
}

build_tree() { # build_tree DIR BUILD_TYPE [extra cmake args...]
  local dir="$1" type="$2"
  shift 2
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)"
}
