#!/usr/bin/python3
"""Reads a Prometheus text exposition on standard input with the official
client library's parser and prints one sample a line: NAME{k=v,...} VALUE,
labels sorted. Exits non-zero when the text does not parse."""
import sys

from prometheus_client.parser import text_string_to_metric_families

for family in text_string_to_metric_families(sys.stdin.read()):
    for sample in family.samples:
        labels = ",".join(f"{k}={v}" for k, v in sorted(sample.labels.items()))
        print(f"{sample.name}{{{labels}}} {sample.value!r}")
